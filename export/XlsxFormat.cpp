#include "export/XlsxFormat.h"

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
    status(worksheet_set_column(ws, 0, 5, 17, nullptr));
    worksheet_freeze_panes(ws, 1, 0);
    for (std::size_t c = 0; c < ExportColumns.size(); ++c) {
        const std::string name(ExportColumns[c]);
        status(worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), name.c_str(), bold));
    }
    const std::vector<double>* arrays[] = {&t.measurement.volts, &t.measPos, &t.measSpeed, &t.modelPos,
                                           &t.modelSpeed};
    for (std::size_t i = 0; i < ExportRows; ++i) {
        const auto row = static_cast<lxw_row_t>(i + 1);
        status(worksheet_write_number(ws, row, 0, t.timeOf(i), nullptr));
        for (std::size_t a = 0; a < std::size(arrays); ++a) {
            if (arrays[a]->empty()) continue;
            status(worksheet_write_number(ws, row, static_cast<lxw_col_t>(a + 1), (*arrays[a])[i], nullptr));
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
    number("Mètres par volt", m.metresPerVolt);
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

} // namespace

void writeXlsx(const std::string& path, const MeasurementTable& table)
{
    try {
        checkTableLengths(table);
    } catch (const FormatError& e) {
        throw writeError(path, e.what());
    }
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
    lxw_worksheet* measures = workbook_add_worksheet(wb, "Mesures");
    lxw_worksheet* parameters = workbook_add_worksheet(wb, "Paramètres");
    if (measures && parameters) {
        fillMeasures(wb, measures, table, status);
        fillParameters(parameters, table, status);
    } else {
        status(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    errno = 0;
    const lxw_error closed = workbook_close(wb); // frees the workbook in every case
    const int savedErrno = errno;
    status(closed);
    if (status.error != LXW_NO_ERROR) throw discard(reasonOf(status.error, savedErrno));
    std::error_code ec;
    if (!std::filesystem::exists(temp, ec)) throw discard(translated("MeasurementFiles", "le fichier n'a pas été écrit"));
    replaceWithTemporary(temp, path);
}

} // namespace pendulab
