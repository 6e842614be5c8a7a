// The sample sources on offer: the card driver library, the boards that answer on USB serial ports,
// and a device path typed by the user. Probing and opening a port run off the window's thread.
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include "acquisition/CardSource.h"
#include "acquisition/SerialSource.h"
#include "acquisition/TextLineSource.h"
#include "views/TextLineSettings.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "app/RecordingControl.h"
#include "app/UnitChoice.h"
#include "views/PositionPage.h"
#include "acquisition/SampleSource.h"
#include "session/Session.h"
#include "views/Services.h"

namespace {
const QString kCard = QStringLiteral("card");
const QString kAsk = QStringLiteral("ask");
const QString kAskLines = QStringLiteral("ask-lines");
QString settingsKeyFor(const QString& path) { return QStringLiteral("boards/") + QString(path).replace(QLatin1Char('/'), QLatin1Char('|')) + QStringLiteral("/metresPerVolt"); }
} // namespace

void TRecordingControl::buildSourceControls()
{
    QHBoxLayout* row = page_->recordingRow();
    auto* label = new QLabel(tr("Source"), page_);
    label->setObjectName(QStringLiteral("sourcelbl"));
    sourcecmb = new QComboBox(page_);
    sourcecmb->setObjectName(QStringLiteral("sourcecmb"));
    sourcecmb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sourcecmb->setMinimumContentsLength(24);
    label->setBuddy(sourcecmb);
    describe(sourcecmb, tr("Source"), tr("Le dispositif qui enregistre"));
    mpvtxt = new QLineEdit(page_);
    mpvtxt->setObjectName(QStringLiteral("mpvtxt"));
    mpvtxt->setMinimumWidth(70);
    mpvtxt->setMaximumWidth(80);
    mpvtxt->setToolTip(tr("Étalonnage du capteur : mètres par volt"));
    describe(mpvtxt, tr("Mètres par volt"), mpvtxt->toolTip());
    auto* unit = new QLabel(QStringLiteral("m/V"), page_);
    unit->setObjectName(QStringLiteral("mpvlbl"));
    unit->setBuddy(mpvtxt);
    row->insertWidget(0, label);
    row->insertWidget(1, sourcecmb);
    row->insertWidget(2, mpvtxt);
    row->insertWidget(3, unit);
    row->insertSpacing(4, 16);
    unitChoice_ = new TUnitChoice(session_, page_, row, 5);
    connect(sourcecmb, &QComboBox::activated, this, [this](int index) { guarded(window_, [&] { sourcecmbChange(index); }); });
    connect(mpvtxt, &QLineEdit::editingFinished, this, [this] { guarded(window_, [this] { mpvtxtChange(); }); });
}

void TRecordingControl::listSources()
{
    sourcecmb->clear();
    if (card_ && card_->bound()) sourcecmb->addItem(QString::fromStdString(card_->name()), kCard);
    sourcecmb->addItem(tr("Port série…"), kAsk);
    sourcecmb->addItem(tr("Port série (lignes de texte)…"), kAskLines);
    sourcecmb->setCurrentIndex(0);
    const QString remembered = QSettings().value(QStringLiteral("source")).toString();
    const QString wanted = !startSource_.isEmpty() ? startSource_ : (remembered != kCard ? remembered : QString());
    if (!startSource_.isEmpty()) openBoard(startSource_); // named on the command line: open it as it is
    else if (remembered.startsWith(QStringLiteral("lines:"))) openTextLines(remembered.mid(6), rememberedTextLineFormat());
    // The boards on USB serial ports, asked who they are off the window's thread.
    auto found = std::make_shared<pendulab::PortsFound>();
    pendulab::SerialOptions options;
    options.lineBaud = rememberedTextLineFormat().baud;
    offThread([found, options] { *found = pendulab::probePorts(pendulab::serialPortCandidates(), options); },
              [this, found, wanted, remembered] {
                  for (const pendulab::BoardFound& b : found->boards) {
                      const QString path = QString::fromStdString(b.path);
                      if (sourcecmb->findData(path) < 0)
                          sourcecmb->insertItem(sourcecmb->count() - 2, tr("Carte Pendulab (%1)").arg(path), path);
                      if (path == wanted && startSource_.isEmpty() && !(board_ && current_ == board_.get())) openBoard(path);
                  }
                  // A sketch's lines of numbers: the dialog, unless the teacher chose the card.
                  if (found->lineDevices.empty() || !startSource_.isEmpty() || remembered == kCard || lines_) return;
                  const pendulab::LineDeviceFound& d = found->lineDevices.front();
                  askTextLines(QString::fromStdString(d.path), &d.guess, d.baud);
              });
}

void TRecordingControl::offThread(std::function<void()> work, std::function<void()> done)
{
    QThread* helper = QThread::create(std::move(work));
    helpers_.append(helper);
    connect(helper, &QThread::finished, this, [this, helper, done = std::move(done)] {
        helpers_.removeAll(helper);
        helper->deleteLater();
        guarded(window_, done);
    });
    helper->start();
}

void TRecordingControl::sourcecmbChange(int index)
{
    const QString choice = sourcecmb->itemData(index).toString();
    if (choice == kCard) {
        board_.reset();
        lines_.reset();
        useSource(card_.get());
        QSettings().setValue(QStringLiteral("source"), kCard);
    } else if (choice == kAskLines) {
        showCurrentSource();
        askTextLines(rememberedTextLinePort(), nullptr, 0);
    } else if (choice.startsWith(QStringLiteral("lines:"))) {
        if (lines_) useSource(lines_.get());
    } else if (choice == kAsk) {
        const QString path = ui().askText(window_, tr("Port série"),
                                          tr("Chemin du port série de la carte (par exemple /dev/ttyACM0) :"),
                                          QStringLiteral("/dev/ttyACM0"));
        showCurrentSource();
        if (!path.trimmed().isEmpty()) openBoard(path.trimmed());
    } else {
        openBoard(choice);
    }
}

void TRecordingControl::openBoard(const QString& path)
{
    struct Opened {
        std::unique_ptr<pendulab::SerialSource> board;
        std::string error;
        std::optional<pendulab::textline::Guess> lines; // it sends lines of numbers instead
        int baud = 0;
    };
    auto result = std::make_shared<Opened>();
    const std::string device = path.toStdString();
    pendulab::SerialOptions options;
    options.lineBaud = rememberedTextLineFormat().baud;
    setOpening(true);
    offThread(
        [result, device, options] {
            try {
                result->board = pendulab::SerialSource::open(device, options);
            } catch (const pendulab::LinesInsteadOfBoard& e) {
                result->lines = e.guess();
                result->baud = e.baud();
            } catch (const std::exception& e) {
                result->error = e.what();
            }
        },
        [this, result, path] {
            setOpening(false);
            if (result->lines) {
                useSource(current_);
                askTextLines(path, &*result->lines, result->baud);
                return;
            }
            if (!result->board) {
                useSource(current_); // the source in use stays
                ui().showMessage(window_, QString::fromStdString(result->error));
                return;
            }
            const QVariant mpv = QSettings().value(settingsKeyFor(path));
            if (mpv.isValid() && mpv.toDouble() > 0.0) result->board->setMetresPerVolt(mpv.toDouble());
            board_ = std::move(result->board);
            lines_.reset();
            if (sourcecmb->findData(path) < 0)
                sourcecmb->insertItem(sourcecmb->count() - 2, QString::fromStdString(board_->name()), path);
            useSource(board_.get());
            QSettings().setValue(QStringLiteral("source"), path);
        });
}

bool TRecordingControl::ready() const { return current_ && current_->present() && !opening_; }

void TRecordingControl::setOpening(bool opening)
{
    opening_ = opening;
    sourcecmb->setEnabled(!opening && !acquiring_);
    aqucmd->setEnabled(ready() && !acquiring_);
    emit readyChanged(ready());
}

void TRecordingControl::useSource(pendulab::SampleSource* s)
{
    if (s != current_) session_->setNextCalibration(std::nullopt); // a calibration is its sensor's
    current_ = s;
    const bool ready = s && s->present();
    aqucmd->setEnabled(this->ready() && !acquiring_);
    emit readyChanged(this->ready());
    if (ready) Timer2->start(333);
    else Timer2->stop();
    nocardlbl->setVisible(!ready);
    if (!ready) ea0lbl->setValueText(QString());
    if (s) {
        gaugeMin_->setText(fmtShortest(s->minVolts()) + QStringLiteral("v"));
        gaugeMax_->setText((s->maxVolts() > 0 ? QStringLiteral("+") : QString()) + fmtShortest(s->maxVolts()) + QStringLiteral("v"));
        mpvtxt->setText(fmtShortest(s->metresPerVolt()));
    }
    mpvtxt->setEnabled(s && board_ && s == board_.get() && !acquiring_);
    showCurrentSource();
}

void TRecordingControl::showCurrentSource()
{
    int index = 0;
    if (board_ && current_ == board_.get()) index = sourcecmb->findData(QString::fromStdString(board_->devicePath()));
    else if (lines_ && current_ == lines_.get()) index = sourcecmb->findData(QStringLiteral("lines:") + QString::fromStdString(lines_->devicePath()));
    else index = sourcecmb->findData(kCard);
    if (index >= 0) sourcecmb->setCurrentIndex(index);
}

void TRecordingControl::mpvtxtChange()
{
    if (!board_ || current_ != board_.get()) return;
    const double value = readUserNumber(mpvtxt->text()).value_or(0.0);
    if (!(value > 0.0)) {
        const QString typed = mpvtxt->text();
        mpvtxt->setText(fmtShortest(board_->metresPerVolt()));
        ui().showMessage(window_, tr("Étalonnage invalide : « %1 ». Donnez un nombre de mètres par volt positif.").arg(typed));
        return;
    }
    board_->setMetresPerVolt(value);
    session_->setNextCalibration(std::nullopt); // the slope typed here is the one in force
    QSettings().setValue(settingsKeyFor(QString::fromStdString(board_->devicePath())), value);
}
