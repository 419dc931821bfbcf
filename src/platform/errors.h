// The runtime error every layer raises: a number, a description and a source.
// A platform may raise one from a native call that cannot be made at all.
#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string description, std::string source = {})
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)) {}

    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }
    void setSource(std::string source) { source_ = std::move(source); }

private:
    int number_;
    std::string description_;
    std::string source_;
};

namespace errors {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int InvalidPropertyValue = 380;

inline RuntimeError overflow() { return {Overflow, "Overflow"}; }
inline RuntimeError invalidProcedureCall() { return {InvalidProcedureCall, "Invalid procedure call or argument"}; }
inline RuntimeError invalidPropertyValue() { return {InvalidPropertyValue, "Invalid property value"}; }
}  // namespace errors

}  // namespace velmora
