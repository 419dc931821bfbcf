// The calls the program makes by their Win32 names. Each platform gives them
// its own meaning, and each reports what the Win32 function returns.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace velmora::platform {

class NativeCalls {
public:
    virtual ~NativeCalls() = default;

    virtual long getWindowLong(Handle window, int index) = 0;
    virtual long setWindowLong(Handle window, int index, long value) = 0;
    virtual bool setLayeredWindowAttributes(Handle window, Color key, std::uint8_t alpha, unsigned flags) = 0;
    virtual bool setWindowPos(Handle window, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) = 0;
    virtual bool setForegroundWindow(Handle window) = 0;
    virtual bool shellNotifyIcon(unsigned message, const NotifyIconData& data) = 0;
    virtual Handle shellExecute(Handle owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory, int show) = 0;
    virtual Color getPixel(Handle dc, int x, int y) = 0;
    virtual long regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                              Handle& result) = 0;
    // data receives at most data.size() bytes; size is in/out as in Win32.
    virtual long regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                                 unsigned& size) = 0;
    virtual long regCloseKey(Handle key) = 0;
};

}  // namespace velmora::platform
