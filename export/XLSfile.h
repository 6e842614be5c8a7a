#pragma once
// A small writer of BIFF2 worksheet files (BOF, DIMENSIONS, NUMBER, LABEL, EOF records).
#include <cstdint>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pendulab {

// Raised when the file cannot be created or written completely.
class XlsWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMyFiler {
public:
    explicit TMyFiler(std::ostream* stream = nullptr) : Stream(stream) {}
    void SetStream(std::ostream* stream) { Stream = stream; }
protected:
    std::ostream* Stream; // not owned
};

class TMyWriter : public TMyFiler {
public:
    using TMyFiler::TMyFiler;
    void WriteByte(std::uint8_t b);
    void WriteWord(std::uint16_t w);
    void WriteString(const std::string& bytes);
    void WriteDouble(double d);
};

class TMyPersistent {
public:
    virtual ~TMyPersistent() = default;
    virtual void WriteBody(TMyWriter& writer) const = 0;
};

class TData : public TMyPersistent {
public:
    std::uint16_t Id = 0;
};

class TBOF : public TData {
public:
    TBOF() { Id = 0x0809; }
    void WriteBody(TMyWriter& w) const override;
};

class TDimension : public TData {
public:
    TDimension() { Id = 0x0000; }
    void WriteBody(TMyWriter& w) const override;
    const std::uint16_t FirstRow = 0, RowLimit = 1000, FirstColumn = 0, ColumnLimit = 100;
};

class TCell : public TData {
public:
    std::uint8_t Attributes[3] = {0, 0, 0};
    std::uint16_t Column = 0; // 0-based
    std::uint16_t Row = 0;    // 0-based
protected:
    void WriteHeader(TMyWriter& w) const; // row, column, attribute bytes
};

class TDoubleCell : public TCell {
public:
    TDoubleCell() { Id = 0x0003; }
    void WriteBody(TMyWriter& w) const override;
    double Value = 0.0;
};

class TStrCell : public TCell {
public:
    TStrCell() { Id = 0x0004; }
    void WriteBody(TMyWriter& w) const override;
    std::string Value; // Windows-1252 bytes, at most 255
};

// A cell class: how AddCell makes a cell of the wanted kind.
using TCellClass = std::unique_ptr<TCell> (*)();
template <class C> std::unique_ptr<TCell> CellOf() { return std::make_unique<C>(); }

class TDispatcher {
public:
    void Clear() { records_.clear(); }
    void SetStream(std::ostream* stream) { stream_ = stream; writer_.SetStream(stream); }
    void Add(std::unique_ptr<TData> record);
    void WriteAll();
    std::size_t Count() const { return records_.size(); }
    std::uint16_t ClosingId = 999;
private:
    std::vector<std::pair<std::string, std::unique_ptr<TData>>> records_;
    TMyWriter writer_;
    std::ostream* stream_ = nullptr;
};

// Attribute bytes of a cell from the 16-bit flags.
void AttributesFromFlags(std::uint16_t flags, std::uint8_t out[3]);

// UTF-8 text to Windows-1252 bytes ('?' for what the code page lacks), cut to 255 bytes.
std::string ToLabelBytes(const std::string& utf8);

class TXLSfile {
public:
    TXLSfile();
    std::string FileName;
    void Reset();
    TCell* AddCell(std::uint16_t column, std::uint16_t row, std::uint16_t flags, TCellClass cellClass);
    void AddNumber(std::uint16_t column, std::uint16_t row, std::uint16_t flags, double value);
    void AddString(std::uint16_t column, std::uint16_t row, std::uint16_t flags, const std::string& utf8);
    // Writes every record to `stream`; throws XlsWriteError if the stream fails.
    void WriteTo(std::ostream& stream);
    // Writes FileName completely or not at all: a temporary file in the same folder, renamed over
    // the target once it is whole. Throws XlsWriteError naming the file and the reason.
    void WriteFile();
    std::size_t RecordCount() const { return dispatcher_.Count(); }
private:
    TDispatcher dispatcher_;
    TBOF* bof_ = nullptr;
    TDimension* dimension_ = nullptr;
};

} // namespace pendulab
