// The program's runtime errors: a number, a description and a source. Every
// number the program raises is in the one list below. A platform never raises
// one: it reports a failure as a result, and the toolkit raises the error.
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

private:
    int number_;
    std::string description_;
    std::string source_;
};

namespace errors {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int Internal = 51;
inline constexpr int FileNotFound = 53;
inline constexpr int InvalidPropertyValue = 380;

inline RuntimeError invalidProcedureCall() { return {InvalidProcedureCall, "Invalid procedure call or argument"}; }
inline RuntimeError overflow() { return {Overflow, "Overflow"}; }
// A window, control or timer the platform could not make.
inline RuntimeError outOfMemory() { return {OutOfMemory, "Out of memory"}; }
inline RuntimeError internal(const std::string& what) {
    return {Internal, what.empty() ? "Internal error" : "Internal error: " + what};
}
inline RuntimeError fileNotFound() { return {FileNotFound, "File not found"}; }
inline RuntimeError invalidPropertyValue() { return {InvalidPropertyValue, "Invalid property value"}; }
}  // namespace errors

}  // namespace velmora
