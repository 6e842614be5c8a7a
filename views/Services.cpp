#include "views/Services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QColorDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

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
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("UiServices", "Confirmation"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

UiServices::SaveChoice UiServices::askSaveDiscardCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Pendulab"), text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QCoreApplication::translate("UiServices", "Enregistrer"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QCoreApplication::translate("UiServices", "Ne pas enregistrer"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QCoreApplication::translate("UiServices", "Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

bool UiServices::editText(QWidget* parent, const QString& title, const QString& label, QString& text)
{
    bool ok = false;
    const QString edited = QInputDialog::getMultiLineText(parent, title, label, text, &ok);
    if (ok) text = edited;
    return ok;
}

bool UiServices::confirmOkCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("UiServices", "Avertissement"), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

QString UiServices::saveFileName(QWidget* parent, const QString& caption, const QString& initialPath,
                                 const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, caption, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // Choosing a filter gives its extension to a name typed without one, and swaps it on a name
    // that ends with another filter's extension (Qt's own dialog shows the name in "fileNameEdit").
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
        const QRegularExpression firstExtension(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch m = firstExtension.match(chosen);
        if (!m.hasMatch()) return;
        const QString suffix = m.captured(1).toLower();
        dialog.setDefaultSuffix(suffix);
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) return;
        const QString name = edit->text();
        const QString current = QFileInfo(name).suffix().toLower();
        if (current.isEmpty() || current == suffix) return;
        for (const QString& offered : dialog.nameFilters())
            if (firstExtension.match(offered).captured(1).toLower() == current) {
                edit->setText(name.left(name.size() - current.size()) + suffix);
                return;
            }
    });
    dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString UiServices::openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

int UiServices::chooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
    return ok ? static_cast<int>(items.indexOf(chosen)) : -1;
}

QString UiServices::askText(QWidget* parent, const QString& title, const QString& label, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    return ok ? text : QString();
}

QColor UiServices::chooseColour(QWidget* parent, const QString& title, const QColor& initial)
{
    return QColorDialog::getColor(initial, parent, title);
}

int UiServices::execModal(QDialog* dialog) { return dialog->exec(); }

void UiServices::openDocument(const QString& file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); }

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
            text = QCoreApplication::translate("UiServices", "Erreur inattendue");
        }
        ui().showError(parent, text);
    } catch (...) {
        // Nothing more can be done without risking the event loop.
    }
}
