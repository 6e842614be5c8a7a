#include "export/XlsxFormat.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <locale.h>
#include <string_view>

#include <xlsxwriter.h>

#include "core/Text.h"

namespace pendulab {

namespace {

// libxlsxwriter prints numbers with snprintf, which follows LC_NUMERIC: a program running in a
// French locale would write "0,5" into the XML. The C locale is used on this thread meanwhile.
class CNumericLocale {
public:
    CNumericLocale()
        : c_(::newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))),
          previous_(c_ ? ::uselocale(c_) : static_cast<locale_t>(nullptr))
    {
    }
    ~CNumericLocale()
    {
        if (!c_) return;
        ::uselocale(previous_);
        ::freelocale(c_);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;
private:
    locale_t c_;
    locale_t previous_;
};

struct ParameterRow {
    const char* label;
    double OscillatorInputs::*member;
};
constexpr ParameterRow ModelRows[] = {
    {"Décalage (V)", &OscillatorInputs::offset},
    {"Amplitude (V)", &OscillatorInputs::amplitude},
    {"Masse (kg)", &OscillatorInputs::mass},
    {"Frottement (kg/s)", &OscillatorInputs::friction},
    {"Raideur (N/m)", &OscillatorInputs::stiffness},
    {"Pulsation excitatrice (rad/s)", &OscillatorInputs::exciterPulsation},
    {"Amplitude excitatrice", &OscillatorInputs::exciterAmplitude},
    {"Instant de lâcher (s)", &OscillatorInputs::releaseTime},
};

// The first error of a series of libxlsxwriter calls.
struct Status {
    lxw_error error = LXW_NO_ERROR;
    void operator()(lxw_error e)
    {
        if (error == LXW_NO_ERROR) error = e;
    }
};

void fillMeasures(lxw_workbook* wb, lxw_worksheet* ws, const MeasurementTable& t, Status& status)
{
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    status(worksheet_set_column(ws, 0, static_cast<lxw_col_t>(ExportColumnCount - 1), 17, nullptr));
    worksheet_freeze_panes(ws, 1, 0);
    const auto titles = exportTitles(t);
    for (std::size_t c = 0; c < titles.size(); ++c)
        status(worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), titles[c].c_str(), bold));
    for (std::size_t i = 0; i < t.rows(); ++i) {
        const auto row = static_cast<lxw_row_t>(i + 1);
        const auto values = exportRow(t, i);
        for (std::size_t c = 0; c < values.size(); ++c) {
            if (!std::isfinite(values[c])) continue; // a blank cell
            status(worksheet_write_number(ws, row, static_cast<lxw_col_t>(c), values[c], nullptr));
        }
    }
}

void fillParameters(lxw_worksheet* ws, const MeasurementTable& t, Status& status)
{
    status(worksheet_set_column(ws, 0, 0, 30, nullptr));
    status(worksheet_set_column(ws, 1, 1, 30, nullptr));
    lxw_row_t row = 0;
    auto text = [&](const char* label, const std::string& value) {
        status(worksheet_write_string(ws, row, 0, label, nullptr));
        if (!value.empty()) status(worksheet_write_string(ws, row, 1, value.c_str(), nullptr));
        ++row;
    };
    auto number = [&](const char* label, double value) {
        status(worksheet_write_string(ws, row, 0, label, nullptr));
        status(worksheet_write_number(ws, row, 1, value, nullptr));
        ++row;
    };
    const Measurement& m = t.measurement;
    number("Durée (s)", m.durationSeconds);
    text("Source", m.source);
    text("Origine", m.origin == Origin::File ? "fichier" : "carte");
    text("Date", m.recordedAt);
    number("Mètres par volt", m.calibration.slope);
    number("Décalage d'étalonnage (m)", m.calibration.offset);
    text("Étalonné", m.calibration.known ? "oui" : "non");
    text("Unité", m.unit);
    text("Modèle affiché", t.modelShown ? "oui" : "non");
    for (const ParameterRow& r : ModelRows) number(r.label, t.model.*r.member);
    text("Excitateur", t.model.excited ? "oui" : "non");
}

std::string reasonOf(lxw_error error, int savedErrno)
{
    switch (error) {
    case LXW_ERROR_CREATING_XLSX_FILE:
        return withArgs(translated("MeasurementFiles", "le fichier ne peut pas être créé (%1)"), {std::strerror(savedErrno)});
    case LXW_ERROR_CREATING_TMPFILE:
        return translated("MeasurementFiles", "un fichier temporaire ne peut pas être créé");
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return translated("MeasurementFiles", "mémoire insuffisante");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return withArgs(translated("MeasurementFiles", "écriture interrompue (%1)"), {std::strerror(savedErrno)});
    default:
        return withArgs(translated("MeasurementFiles", "erreur de libxlsxwriter : %1"), {lxw_strerror(error)});
    }
}

// Writes through a temporary workbook that `fill` makes, renamed over `path` once whole.
template <class Fill> void writeWorkbook(const std::string& path, Fill&& fill)
{
    checkWritableTarget(path);
    const std::string temp = temporaryBeside(path);
    auto discard = [&](const std::string& reason) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return writeError(path, reason);
    };
    CNumericLocale cLocale;
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(temp.c_str(), &options);
    if (!wb) throw discard(translated("MeasurementFiles", "le classeur ne peut pas être créé"));
    Status status;
    fill(wb, status);
    errno = 0;
    const lxw_error closed = workbook_close(wb); // frees the workbook in every case
    const int savedErrno = errno;
    status(closed);
    if (status.error != LXW_NO_ERROR) throw discard(reasonOf(status.error, savedErrno));
    std::error_code ec;
    if (!std::filesystem::exists(temp, ec)) throw discard(translated("MeasurementFiles", "le fichier n'a pas été écrit"));
    replaceWithTemporary(temp, path);
}

// A sheet name Excel takes: at most 31 characters, none of []:*?/\, not empty, not one already used.
std::string sheetName(const std::string& wanted, std::vector<std::string>& used)
{
    std::string clean;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < wanted.size() && chars < 27;) { // room left for " (n)"
        const auto c = static_cast<unsigned char>(wanted[i]);
        const std::size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        const std::string_view one(wanted.data() + i, std::min(len, wanted.size() - i));
        clean += one.find_first_of("[]:*?/\\") == std::string_view::npos ? std::string(one) : std::string("_");
        i += len;
        ++chars;
    }
    if (clean.empty() || clean.front() == '\'' || clean.back() == '\'') clean = "Mesure";
    std::string name = clean;
    const auto taken = [&](const std::string& n) {
        return std::any_of(used.begin(), used.end(), [&](const std::string& u) {
            return u.size() == n.size() && std::equal(u.begin(), u.end(), n.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
        });
    };
    for (int k = 2; taken(name); ++k) name = clean + " (" + std::to_string(k) + ")";
    used.push_back(name);
    return name;
}

void fillResults(lxw_workbook* wb, lxw_worksheet* ws, const ResultsSheet& results, Status& status)
{
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    status(worksheet_set_column(ws, 0, 0, 24, nullptr));
    status(worksheet_set_column(ws, 1, static_cast<lxw_col_t>(results.headers.size()), 12, nullptr));
    for (std::size_t c = 0; c < results.headers.size(); ++c)
        status(worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), results.headers[c].c_str(), bold));
    for (std::size_t i = 0; i < results.names.size(); ++i) {
        const auto row = static_cast<lxw_row_t>(i + 1);
        status(worksheet_write_string(ws, row, 0, results.names[i].c_str(), nullptr));
        const std::vector<double>& numbers = results.numbers.at(i);
        for (std::size_t c = 0; c < numbers.size(); ++c)
            if (std::isfinite(numbers[c])) status(worksheet_write_number(ws, row, static_cast<lxw_col_t>(c + 1), numbers[c], nullptr));
    }
}

} // namespace

void writeXlsx(const std::string& path, const MeasurementTable& table)
{
    try {
        checkTableLengths(table);
    } catch (const FormatError& e) {
        throw writeError(path, e.what());
    }
    writeWorkbook(path, [&](lxw_workbook* wb, Status& status) {
        lxw_worksheet* measures = workbook_add_worksheet(wb, "Mesures");
        lxw_worksheet* parameters = workbook_add_worksheet(wb, "Paramètres");
        if (!measures || !parameters) return status(LXW_ERROR_MEMORY_MALLOC_FAILED);
        fillMeasures(wb, measures, table, status);
        fillParameters(parameters, table, status);
    });
}

void writeExperimentXlsx(const std::string& path, const std::vector<WorkbookRun>& runs, const ResultsSheet& results)
{
    for (const WorkbookRun& r : runs) {
        try {
            checkTableLengths(r.table);
        } catch (const FormatError& e) {
            throw writeError(path, r.name + " : " + e.what());
        }
    }
    writeWorkbook(path, [&](lxw_workbook* wb, Status& status) {
        std::vector<std::string> used{"Résultats"};
        for (const WorkbookRun& r : runs) {
            lxw_worksheet* ws = workbook_add_worksheet(wb, sheetName(r.name, used).c_str());
            if (!ws) return status(LXW_ERROR_MEMORY_MALLOC_FAILED);
            fillMeasures(wb, ws, r.table, status);
        }
        lxw_worksheet* sheet = workbook_add_worksheet(wb, "Résultats");
        if (!sheet) return status(LXW_ERROR_MEMORY_MALLOC_FAILED);
        fillResults(wb, sheet, results, status);
    });
}

} // namespace pendulab
