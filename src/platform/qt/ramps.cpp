#include "platform/qt/ramps.h"

#include <QDataStream>
#include <QIODevice>
#include <algorithm>
#include <cmath>

namespace velmora::platform::qt {

namespace {

constexpr quint32 kMagic = 0x564C5231;  // "VLR1"
// RandR gives a ramp at most 65535 entries; no desktop has hundreds of CRTCs.
constexpr quint32 kMostEntries = 65535;
constexpr quint32 kMostCrtcs = 256;

bool rises(const Ramp& ramp) {
    for (std::size_t i = 1; i < ramp.size(); ++i) {
        if (ramp[i] > ramp[i - 1]) return true;
    }
    return false;
}

Ramp scaled(const Ramp& found, double gain) {
    gain = std::isnan(gain) ? 1.0 : std::clamp(gain, 0.0, 1.0);
    const std::size_t n = found.size();
    const bool identity = !rises(found);
    Ramp out(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double base = !identity ? found[i] : n == 1 ? 65535.0 : 65535.0 * static_cast<double>(i) / (n - 1);
        out[i] = static_cast<std::uint16_t>(std::lround(base * gain));
    }
    return out;
}

void write(QDataStream& out, const Ramp& ramp) {
    out << static_cast<quint32>(ramp.size());
    for (const std::uint16_t v : ramp) out << static_cast<quint16>(v);
}

bool read(QDataStream& in, Ramp& ramp) {
    quint32 size = 0;
    in >> size;
    if (in.status() != QDataStream::Ok || size > kMostEntries) return false;
    ramp.resize(size);
    for (std::uint16_t& v : ramp) {
        quint16 value = 0;
        in >> value;
        v = value;
    }
    return in.status() == QDataStream::Ok;
}

void write(QDataStream& out, const Ramps& ramps) {
    write(out, ramps.red);
    write(out, ramps.green);
    write(out, ramps.blue);
}

bool read(QDataStream& in, Ramps& ramps) {
    return read(in, ramps.red) && read(in, ramps.green) && read(in, ramps.blue);
}

}  // namespace

Ramps filtered(const Ramps& found, const Gains& gains) {
    return {scaled(found.red, gains.red), scaled(found.green, gains.green), scaled(found.blue, gains.blue)};
}

QByteArray encodeRecord(const std::vector<CrtcRamps>& crtcs) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << static_cast<quint32>(crtcs.size());
    for (const CrtcRamps& c : crtcs) {
        out << static_cast<quint32>(c.crtc);
        write(out, c.found);
        write(out, c.set);
    }
    return bytes;
}

std::optional<std::vector<CrtcRamps>> decodeRecord(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint32 count = 0;
    in >> magic >> count;
    if (in.status() != QDataStream::Ok || magic != kMagic || count > kMostCrtcs) return std::nullopt;
    std::vector<CrtcRamps> crtcs(count);
    for (CrtcRamps& c : crtcs) {
        quint32 crtc = 0;
        in >> crtc;
        c.crtc = crtc;
        if (!read(in, c.found) || !read(in, c.set)) return std::nullopt;
    }
    if (!in.atEnd()) return std::nullopt;
    return crtcs;
}

}  // namespace velmora::platform::qt
