#pragma once
// What the measurement file formats share: their error type, number text in either decimal
// convention, reading a file under a size limit, and writing a file completely or not at all.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pendulab {

// A file that cannot be written or read. The message is French, names the file and says why
// (with the line number when one line is at fault); line() is that number, 0 when none.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& message, int line = 0)
        : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }
private:
    int line_;
};

// "Impossible d'enregistrer le fichier « path » : reason."
FormatError writeError(const std::string& path, const std::string& reason);
// "Impossible d'ouvrir le fichier « path » : ligne N : reason." (without "ligne N : " when line is 0)
FormatError readError(const std::string& path, const std::string& reason, int line = 0);

// Shortest text that reads back to the same double, with '.' or ',' as decimal mark.
std::string formatNumber(double value, char decimalMark);
// Appends the same text to `out` (no allocation beyond the string's growth).
void appendNumber(std::string& out, double value, char decimalMark);
// A decimal number with '.' or ',' as decimal mark, optional sign and exponent, surrounding
// spaces allowed; false for anything else, and for NaN and infinities.
bool parseNumber(std::string_view text, double& value);

// The whole file; refused before reading when larger than maxBytes.
std::string readWholeFile(const std::string& path, std::uintmax_t maxBytes);

// Refuses a target that exists and is not writable by its owner (mode bits), or is a folder.
void checkWritableTarget(const std::string& path);
// A fresh name in the target's folder for writing before the rename.
std::string temporaryBeside(const std::string& path);
// Renames temp over path; on failure removes temp and throws writeError.
void replaceWithTemporary(const std::string& temp, const std::string& path);
// Writes bytes to path completely or not at all.
void writeWholeFile(const std::string& path, std::string_view bytes);

} // namespace pendulab
