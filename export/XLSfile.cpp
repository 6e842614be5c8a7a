#include "export/XLSfile.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "core/Text.h"

namespace pendulab {

void TMyWriter::WriteByte(std::uint8_t b) { Stream->put(static_cast<char>(b)); }

void TMyWriter::WriteWord(std::uint16_t w)
{
    WriteByte(static_cast<std::uint8_t>(w & 0xFF));
    WriteByte(static_cast<std::uint8_t>(w >> 8));
}

void TMyWriter::WriteString(const std::string& bytes)
{
    Stream->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TMyWriter::WriteDouble(double d)
{
    const auto bits = std::bit_cast<std::uint64_t>(d);
    for (int i = 0; i < 8; ++i) WriteByte(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void TBOF::WriteBody(TMyWriter& w) const
{
    w.WriteWord(0x0000);
    w.WriteWord(0x0010);
    w.WriteWord(0x0000);
}

void TDimension::WriteBody(TMyWriter& w) const
{
    w.WriteWord(FirstRow);
    w.WriteWord(RowLimit);
    w.WriteWord(FirstColumn);
    w.WriteWord(ColumnLimit);
}

void TCell::WriteHeader(TMyWriter& w) const
{
    w.WriteWord(Row);
    w.WriteWord(Column);
    for (const std::uint8_t b : Attributes) w.WriteByte(b);
}

void TDoubleCell::WriteBody(TMyWriter& w) const
{
    WriteHeader(w);
    w.WriteDouble(Value);
}

void TStrCell::WriteBody(TMyWriter& w) const
{
    WriteHeader(w);
    const std::string bytes = Value.size() > 255 ? Value.substr(0, 255) : Value;
    w.WriteByte(static_cast<std::uint8_t>(bytes.size()));
    w.WriteString(bytes);
}

void TDispatcher::Add(std::unique_ptr<TData> record)
{
    std::string key = std::to_string(record->Id);
    records_.emplace_back(std::move(key), std::move(record));
}

void TDispatcher::WriteAll()
{
    for (const auto& entry : records_) {
        const TData& record = *entry.second;
        writer_.WriteWord(record.Id);
        writer_.WriteWord(0); // length, patched below
        const auto p = stream_->tellp();
        record.WriteBody(writer_);
        const auto q = stream_->tellp();
        const auto length = static_cast<std::streamoff>(q - p);
        stream_->seekp(-(length + 2), std::ios::cur);
        writer_.WriteWord(static_cast<std::uint16_t>(length));
        stream_->seekp(length, std::ios::cur);
    }
    writer_.WriteWord(ClosingId);
    writer_.WriteWord(0);
}

void AttributesFromFlags(std::uint16_t flags, std::uint8_t out[3])
{
    out[0] = out[1] = out[2] = 0;
    if (flags & 0x0001) out[0] += 0x80;
    if (flags & 0x0002) out[0] += 0x40;
    if (flags & 0x0004) out[2] += 0x80;
    if (flags & 0x0008) out[2] += 0x40;
    if (flags & 0x0010) out[2] += 0x20;
    if (flags & 0x0020) out[2] += 0x10;
    if (flags & 0x0040) out[2] += 0x08;
    if (flags & 0x0080) out[2] += 1;
    else if (flags & 0x0100) out[2] += 2;
    else if (flags & 0x0200) out[2] += 3;
    if (flags & 0x0400) out[2] += 4;
}

namespace {

// Windows-1252 bytes 0x80 … 0x9F; 0 where the code page has no character.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

char toCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string ToLabelBytes(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size() && out.size() < 255;) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        int extra = 0;
        if (b >= 0xF0) { c = b & 0x07; extra = 3; }
        else if (b >= 0xE0) { c = b & 0x0F; extra = 2; }
        else if (b >= 0xC0) { c = b & 0x1F; extra = 1; }
        else if (b >= 0x80) { c = 0xFFFD; } // stray continuation byte
        ++i;
        for (int k = 0; k < extra; ++k, ++i) {
            if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) { c = 0xFFFD; break; }
            c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        }
        out.push_back(toCp1252(c));
    }
    return out;
}

TXLSfile::TXLSfile()
{
    dispatcher_.ClosingId = 0x000A;
    Reset();
}

void TXLSfile::Reset()
{
    dispatcher_.Clear();
    auto bof = std::make_unique<TBOF>();
    auto dimension = std::make_unique<TDimension>();
    bof_ = bof.get();
    dimension_ = dimension.get();
    dispatcher_.Add(std::move(bof));
    dispatcher_.Add(std::move(dimension));
}

TCell* TXLSfile::AddCell(std::uint16_t column, std::uint16_t row, std::uint16_t flags, TCellClass cellClass)
{
    std::unique_ptr<TCell> cell = cellClass();
    cell->Column = static_cast<std::uint16_t>(column - 1);
    cell->Row = static_cast<std::uint16_t>(row - 1);
    AttributesFromFlags(flags, cell->Attributes);
    TCell* raw = cell.get();
    dispatcher_.Add(std::move(cell));
    return raw;
}

void TXLSfile::AddNumber(std::uint16_t column, std::uint16_t row, std::uint16_t flags, double value)
{
    static_cast<TDoubleCell*>(AddCell(column, row, flags, &CellOf<TDoubleCell>))->Value = value;
}

void TXLSfile::AddString(std::uint16_t column, std::uint16_t row, std::uint16_t flags, const std::string& utf8)
{
    static_cast<TStrCell*>(AddCell(column, row, flags, &CellOf<TStrCell>))->Value = ToLabelBytes(utf8);
}

void TXLSfile::WriteTo(std::ostream& stream)
{
    dispatcher_.SetStream(&stream);
    dispatcher_.WriteAll();
    dispatcher_.SetStream(nullptr);
    stream.flush();
    if (!stream) throw XlsWriteError(translated("MeasurementFiles", "écriture interrompue"));
}

void TXLSfile::WriteFile()
{
    namespace fs = std::filesystem;
    const fs::path requested(FileName);
    auto failure = [&](const std::string& reason) {
        return XlsWriteError(withArgs(translated("MeasurementFiles", "Impossible d'enregistrer le fichier %1 : %2"), {FileName, reason}));
    };
    if (FileName.empty()) throw failure(translated("MeasurementFiles", "aucun nom de fichier"));
    // A link is followed, so that the file it names is the one replaced and the link stays.
    std::error_code linkError;
    const fs::path target = fs::is_symlink(requested, linkError) ? fs::weakly_canonical(requested, linkError) : requested;
    // An existing file keeps its permissions; one its owner may not write is refused (read from
    // the mode bits: as root, opening it would succeed anyway).
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0)
        throw failure(translated("MeasurementFiles", "le fichier est en lecture seule"));
    std::random_device rd;
    std::string tempName(".");
    tempName.append(target.filename().string()).append(".").append(std::to_string(rd() % 1000000)).append(".tmp");
    const fs::path temp = target.parent_path() / tempName;
    // The records are laid out in memory (their lengths are patched in place), then written at once.
    std::ostringstream records(std::ios::binary);
    WriteTo(records);
    const std::string bytes = records.str();
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw failure(std::strerror(errno));
    try {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (out.fail()) throw XlsWriteError(translated("MeasurementFiles", "écriture interrompue"));
    } catch (const XlsWriteError&) {
        const int err = errno;
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw failure(err ? std::string(std::strerror(err)) : translated("MeasurementFiles", "écriture interrompue"));
    }
    if (exists && S_ISREG(existing.st_mode)) {
        ::chmod(temp.c_str(), existing.st_mode & 07777);
        if (::chown(temp.c_str(), existing.st_uid, existing.st_gid) != 0) { /* only root may give a file away */ }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw failure(ec.message());
    }
}

} // namespace pendulab
