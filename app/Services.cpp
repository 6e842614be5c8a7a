#include "app/Services.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {
UiServices realServices;
UiServices* current = &realServices;
} // namespace

void UiServices::showMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pendulab"), text, QMessageBox::Ok, parent);
    box.exec();
}

void UiServices::showError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pendulab"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool UiServices::confirmYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool UiServices::confirmOkCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Avertissement"), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

QString UiServices::saveFileName(QWidget* parent, const QString& caption, const QString& initialPath,
                                 const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, caption, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

int UiServices::execModal(QDialog* dialog) { return dialog->exec(); }

UiServices& ui() { return *current; }

void setUiServices(UiServices* services) { current = services ? services : &realServices; }

void reportFailure(QWidget* parent, std::exception_ptr e) noexcept
{
    try {
        QString text;
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            text = QString::fromUtf8(ex.what());
        } catch (...) {
            text = QStringLiteral("Erreur inattendue");
        }
        ui().showError(parent, text);
    } catch (...) {
        // Nothing more can be done without risking the event loop.
    }
}
