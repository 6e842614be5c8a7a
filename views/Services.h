#pragma once
// The program's dialogs with the user, in one replaceable place (tests install their own), and the
// one place that turns a failure inside a handler into a message box.
#include <QColor>
#include <QString>
#include <QStringList>
#include <exception>
#include <utility>

class QWidget;
class QDialog;

class UiServices {
public:
    enum class SaveChoice { Save, Discard, Cancel };
    virtual ~UiServices() = default;
    // Plain message box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& text);
    // The general error box: a failure inside a handler.
    virtual void showError(QWidget* parent, const QString& text);
    // Confirmation with Yes and No; true for Yes.
    virtual bool confirmYesNo(QWidget* parent, const QString& text);
    // The question before unsaved work is dropped: "Enregistrer", "Ne pas enregistrer", "Annuler".
    virtual SaveChoice askSaveDiscardCancel(QWidget* parent, const QString& text);
    // Warning with OK and Cancel; true for OK.
    virtual bool confirmOkCancel(QWidget* parent, const QString& text);
    // Save-file dialog; empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& initialPath,
                                 const QString& filter, const QString& defaultSuffix);
    // Open-file dialog starting in `folder`; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
    // A list to pick one item from; its index, or -1 when cancelled.
    virtual int chooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items);
    // Runs a dialog modally.
    // A line of text typed by the user; empty when cancelled.
    virtual QString askText(QWidget* parent, const QString& title, const QString& label, const QString& initial);
    // Several lines of text edited by the user; false (and `text` untouched) when cancelled.
    virtual bool editText(QWidget* parent, const QString& title, const QString& label, QString& text);
    // A colour picked by the user, starting from `initial`; an invalid colour when cancelled.
    virtual QColor chooseColour(QWidget* parent, const QString& title, const QColor& initial);
    virtual int execModal(QDialog* dialog);
    // Shows a document the program wrote in the desktop's viewer for its type, when there is one.
    virtual void openDocument(const QString& file);
};

UiServices& ui();
// Replaces the services (nullptr restores the real dialogs). Not owned.
void setUiServices(UiServices* services);

// Shows the failure `e` in the general error box.
void reportFailure(QWidget* parent, std::exception_ptr e) noexcept;

// Runs a handler so that no exception leaves it: a failure becomes a message box.
template <class F> void guarded(QWidget* parent, F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        reportFailure(parent, std::current_exception());
    }
}
