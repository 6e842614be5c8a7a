#include "session/ExperimentFile.h"

#include <algorithm>
#include <array>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/Text.h"

namespace pendulab {

namespace {

constexpr const char* kFormat = "pendulab-experiment";
constexpr qint64 MostFileBytes = 1024LL * 1024 * 1024; // 10 000 000 samples and their instants fit

QString q(const char* s) { return QString::fromUtf8(s); }
QString q(const std::string& s) { return QString::fromStdString(s); }

QJsonArray numbers(const std::vector<double>& values)
{
    QJsonArray a;
    for (double v : values) a.append(std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null)); // a missing sample
    return a;
}

QJsonObject modelOf(const Run& r)
{
    const ModelParameters& p = r.parameters;
    return {{"offset", p.offset}, {"amplitude", p.amplitude}, {"mass", p.mass}, {"friction", p.friction},
            {"stiffness", p.stiffness}, {"excited", p.excited}, {"exciterPulsation", p.exciterPulsation},
            {"exciterAmplitude", p.exciterAmplitude}, {"releaseTime", p.releaseTime}, {"shown", p.shown},
            {"computed", r.modelComputed}};
}

QJsonObject valueOf(const FitValue& v) { return {{"value", v.value}, {"sigma", v.sigma}}; }

QJsonObject fitOf(const FitResult& f)
{
    return {{"ok", f.ok}, {"message", q(f.message)}, {"stiffness", valueOf(f.stiffness)}, {"friction", valueOf(f.friction)},
            {"amplitude", valueOf(f.amplitude)}, {"offset", valueOf(f.offset)}, {"releaseTime", valueOf(f.releaseTime)},
            {"exciterAmplitude", valueOf(f.exciterAmplitude)}, {"excited", f.excited}, {"rms", f.rms},
            {"iterations", f.iterations}, {"points", static_cast<double>(f.points)}, {"mass", f.mass},
            {"stiffnessFrictionCovariance", f.stiffnessFrictionCovariance}, {"from", f.from}, {"to", f.to},
            {"wholeRecording", f.wholeRecording}};
}

QJsonObject benchOf(const BenchSettings& b)
{
    return {{"mass", b.mass}, {"stiffness", b.stiffness}, {"friction", b.friction}, {"amplitude", b.amplitude},
            {"equilibrium", b.equilibrium}, {"exciter", b.exciter}, {"pulsation", b.pulsation},
            {"exciterAmplitude", b.exciterAmplitude}, {"hidden", b.hidden}};
}

QJsonObject runOf(const Run& r)
{
    const Measurement& m = r.measurement;
    QJsonObject o{{"name", q(r.name)}, {"colour", static_cast<double>(r.colour)}, {"shown", r.shown},
                  {"source", q(m.source)}, {"origin", m.origin == Origin::Device ? "device" : "file"},
                  {"recordedAt", q(m.recordedAt)}, {"durationSeconds", m.durationSeconds},
                  {"metresPerVolt", m.calibration.slope}, {"calibrationOffset", m.calibration.offset},
                  {"calibrated", m.calibration.known}, {"unit", q(m.unit)}, {"samples", numbers(m.volts)},
                  {"model", modelOf(r)}};
    if (!m.instants.empty()) o.insert("instants", numbers(m.instants));
    if (r.interval) o.insert("interval", QJsonObject{{"from", r.interval->from}, {"to", r.interval->to}});
    if (r.fit) o.insert("fit", fitOf(*r.fit));
    if (m.bench) o.insert("bench", benchOf(*m.bench));
    if (!r.ownValues.empty()) {
        std::vector<double> own;
        for (const std::optional<double>& v : r.ownValues) own.push_back(v.value_or(std::numeric_limits<double>::quiet_NaN()));
        o.insert("own", numbers(own));
    }
    return o;
}

constexpr std::array<const char*, 5> kLaws = {"none", "proportional", "affine", "power", "resonance"};

// Reads the fields of one object, naming where a field is missing or of the wrong type.
class Fields {
public:
    Fields(const QJsonObject& o, std::string where) : o_(o), where_(std::move(where)) {}
    [[noreturn]] void fail(const char* key, const std::string& expected) const
    {
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Fichier d'expérience invalide : %1, « %2 » manque ou n'est pas %3."),
                                          {where_, key, expected}));
    }
    double number(const char* key) const
    {
        const QJsonValue v = o_.value(q(key));
        if (!v.isDouble() || !std::isfinite(v.toDouble())) fail(key, translated("ExperimentFile", "un nombre"));
        return v.toDouble();
    }
    int integer(const char* key) const
    {
        const double v = number(key);
        if (v != std::floor(v) || std::fabs(v) > std::numeric_limits<int>::max()) fail(key, translated("ExperimentFile", "un nombre entier"));
        return static_cast<int>(v);
    }
    bool flag(const char* key) const
    {
        const QJsonValue v = o_.value(q(key));
        if (!v.isBool()) fail(key, translated("ExperimentFile", "vrai ou faux"));
        return v.toBool();
    }
    std::string text(const char* key) const
    {
        const QJsonValue v = o_.value(q(key));
        if (!v.isString()) fail(key, translated("ExperimentFile", "un texte"));
        return v.toString().toStdString();
    }
    QJsonObject object(const char* key) const
    {
        const QJsonValue v = o_.value(q(key));
        if (!v.isObject()) fail(key, translated("ExperimentFile", "un objet"));
        return v.toObject();
    }
    // Numbers, a null for a missing sample.
    std::vector<double> numbers(const char* key) const
    {
        const QJsonValue v = o_.value(q(key));
        if (!v.isArray()) fail(key, translated("ExperimentFile", "une liste de nombres"));
        std::vector<double> out;
        const QJsonArray a = v.toArray();
        out.reserve(static_cast<std::size_t>(a.size()));
        for (const QJsonValue& x : a) {
            if (x.isNull()) out.push_back(std::numeric_limits<double>::quiet_NaN());
            else if (x.isDouble()) out.push_back(x.toDouble());
            else fail(key, translated("ExperimentFile", "une liste de nombres"));
        }
        return out;
    }
    bool has(const char* key) const { return o_.contains(q(key)); }
    const std::string& where() const { return where_; }

private:
    QJsonObject o_;
    std::string where_;
};

FitValue fitValueFrom(const Fields& f, const char* key)
{
    const Fields v(f.object(key), f.where() + " › " + key);
    return {v.number("value"), v.number("sigma")};
}

FitResult fitFrom(const Fields& f)
{
    FitResult r;
    r.ok = f.flag("ok");
    r.message = f.text("message");
    r.stiffness = fitValueFrom(f, "stiffness");
    r.friction = fitValueFrom(f, "friction");
    r.amplitude = fitValueFrom(f, "amplitude");
    r.offset = fitValueFrom(f, "offset");
    r.releaseTime = fitValueFrom(f, "releaseTime");
    r.exciterAmplitude = fitValueFrom(f, "exciterAmplitude");
    r.excited = f.flag("excited");
    r.rms = f.number("rms");
    r.iterations = f.integer("iterations");
    const int points = f.integer("points");
    if (points < 0) f.fail("points", translated("ExperimentFile", "un nombre entier"));
    r.points = static_cast<std::size_t>(points);
    r.mass = f.number("mass");
    r.stiffnessFrictionCovariance = f.number("stiffnessFrictionCovariance");
    r.from = f.number("from");
    r.to = f.number("to");
    r.wholeRecording = f.flag("wholeRecording");
    return r;
}

BenchSettings benchFrom(const Fields& f)
{
    BenchSettings b{f.number("mass"), f.number("stiffness"), f.number("friction"), f.number("amplitude"),
                    f.number("equilibrium"), f.flag("exciter"), f.number("pulsation"), f.number("exciterAmplitude"),
                    f.flag("hidden")};
    if (const std::string why = benchRefusal(b); !why.empty())
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Fichier d'expérience invalide : %1 : %2"), {f.where(), why}));
    return b;
}

Run runFrom(const QJsonObject& o, std::size_t index)
{
    const Fields f(o, withArgs(translated("ExperimentFile", "mesure %1"), {std::to_string(index + 1)}));
    Run r;
    r.name = f.text("name");
    const double colour = f.number("colour");
    if (colour < 0 || colour > 0xFFFFFF || colour != std::floor(colour)) f.fail("colour", translated("ExperimentFile", "une couleur 0xRRVVBB"));
    r.colour = static_cast<std::uint32_t>(colour);
    r.shown = f.flag("shown");
    Measurement& m = r.measurement;
    m.source = f.text("source");
    const std::string origin = f.text("origin");
    if (origin != "device" && origin != "file") f.fail("origin", translated("ExperimentFile", "« device » ou « file »"));
    m.origin = origin == "device" ? Origin::Device : Origin::File;
    m.recordedAt = f.text("recordedAt");
    m.durationSeconds = f.integer("durationSeconds");
    m.unit = f.text("unit");
    const double slope = f.number("metresPerVolt");
    if (f.has("calibrated")) {
        m.calibration = Calibration{slope, f.number("calibrationOffset"), f.flag("calibrated")};
        if (m.calibration.known && (slope == 0.0 || !std::isfinite(slope)))
            f.fail("metresPerVolt", translated("ExperimentFile", "une pente non nulle"));
    } else {
        m.calibration = legacyCalibration(m.unit, slope); // written before calibrations had offsets
    }
    m.volts = f.numbers("samples");
    if (f.has("instants")) m.instants = f.numbers("instants");
    const Fields model(f.object("model"), f.where() + " › model");
    ModelParameters& p = r.parameters;
    p.offset = model.number("offset");
    p.amplitude = model.number("amplitude");
    p.mass = model.number("mass");
    p.friction = model.number("friction");
    p.stiffness = model.number("stiffness");
    p.excited = model.flag("excited");
    p.exciterPulsation = model.number("exciterPulsation");
    p.exciterAmplitude = model.number("exciterAmplitude");
    p.releaseTime = model.number("releaseTime");
    p.shown = model.flag("shown");
    r.modelComputed = model.flag("computed");
    if (f.has("interval")) {
        const Fields span(f.object("interval"), f.where() + " › interval");
        r.interval = TimeInterval{span.number("from"), span.number("to")};
    }
    if (f.has("fit")) r.fit = fitFrom(Fields(f.object("fit"), f.where() + " › fit"));
    if (f.has("bench")) m.bench = benchFrom(Fields(f.object("bench"), f.where() + " › bench"));
    if (f.has("own"))
        for (double v : f.numbers("own")) r.ownValues.push_back(std::isfinite(v) ? std::optional<double>(v) : std::nullopt);
    return r;
}

// The results' own columns and the graph's choice (format 2 on; none in a format 1 file).
void resultsFrom(const Fields& root, const QJsonObject& o, Experiment& e)
{
    if (!root.has("results")) return;
    const QJsonValue columns = o.value(q("columns"));
    if (!columns.isArray()) root.fail("columns", translated("ExperimentFile", "une liste de colonnes"));
    for (const QJsonValue& c : columns.toArray()) {
        if (!c.isObject()) root.fail("columns", translated("ExperimentFile", "une liste de colonnes"));
        const Fields column(c.toObject(), translated("ExperimentFile", "colonne"));
        e.ownColumns.push_back({column.text("name"), column.text("unit")});
    }
    const Fields results(root.object("results"), "results");
    e.results.x = results.text("x");
    e.results.y = results.text("y");
    const std::string law = results.text("law");
    const auto* found = std::find(kLaws.begin(), kLaws.end(), law);
    if (found == kLaws.end()) results.fail("law", "none, proportional, affine, power, resonance");
    e.results.law = static_cast<LawKind>(found - kLaws.begin());
}

} // namespace

QByteArray experimentToJson(const Experiment& e)
{
    QJsonArray runs;
    for (const Run& r : e.runs) runs.append(runOf(r));
    QJsonObject root{{"format", kFormat}, {"version", ExperimentFileVersion}, {"active", e.active},
                           {"notes", q(e.notes)}, {"runs", runs}};
    QJsonArray columns;
    for (const OwnColumn& c : e.ownColumns) columns.append(QJsonObject{{"name", q(c.name)}, {"unit", q(c.unit)}});
    root.insert("columns", columns);
    root.insert("results", QJsonObject{{"x", q(e.results.x)}, {"y", q(e.results.y)},
                                       {"law", kLaws.at(static_cast<std::size_t>(e.results.law == LawKind::ResonancePhase ? LawKind::Resonance : e.results.law))}});
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

Experiment experimentFromJson(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Fichier d'expérience tronqué ou abîmé (à l'octet %1 : %2)."),
                                          {std::to_string(error.offset), error.errorString().toStdString()}));
    if (!doc.isObject() || doc.object().value(q("format")).toString() != q(kFormat))
        throw std::runtime_error(translated("ExperimentFile", "Ce fichier n'est pas une expérience Pendulab."));
    const Fields root(doc.object(), translated("ExperimentFile", "en-tête"));
    const int version = root.integer("version");
    if (version > ExperimentFileVersion)
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Cette expérience vient d'une version plus récente de Pendulab (format %1, celui-ci lit le format %2) : mettez Pendulab à jour pour l'ouvrir."),
                                          {std::to_string(version), std::to_string(ExperimentFileVersion)}));
    if (version < 1) root.fail("version", translated("ExperimentFile", "un numéro de version"));
    Experiment e;
    e.notes = root.text("notes");
    e.active = root.integer("active");
    const QJsonValue runs = doc.object().value(q("runs"));
    if (!runs.isArray()) root.fail("runs", translated("ExperimentFile", "une liste de mesures"));
    const QJsonArray list = runs.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!list[i].isObject()) root.fail("runs", translated("ExperimentFile", "une liste de mesures"));
        e.runs.push_back(runFrom(list[i].toObject(), static_cast<std::size_t>(i)));
    }
    if (e.active < (e.runs.empty() ? -1 : 0) || e.active >= static_cast<int>(e.runs.size())) root.fail("active", translated("ExperimentFile", "le numéro d'une mesure"));
    resultsFrom(root, doc.object(), e);
    return e;
}

void saveExperimentFile(const std::string& path, const Experiment& e)
{
    QSaveFile file(q(path));
    const QByteArray bytes = experimentToJson(e);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Impossible d'écrire le fichier %1 : %2."),
                                          {path, file.errorString().toStdString()}));
}

Experiment loadExperimentFile(const std::string& path)
{
    QFile file(q(path));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Impossible de lire le fichier %1 : %2."),
                                          {path, file.errorString().toStdString()}));
    if (file.size() > MostFileBytes)
        throw std::runtime_error(withArgs(translated("ExperimentFile", "Le fichier %1 est trop grand pour une expérience."), {path}));
    return experimentFromJson(file.readAll());
}

} // namespace pendulab
