// Printing the main window, scaled to fit the page.
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTabWidget>

#include "app/Main.h"
#include "views/Services.h"

QPrinter& TFichePrincipale::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageOrientation(QPageLayout::Landscape); // the window is wider than tall
    }
    return *printer_;
}

void TFichePrincipale::Configurerimpression1Click()
{
    QPrintDialog dialog(&printer(), this);
    dialog.setWindowTitle(tr("Configurer l'impression"));
    if (ui().execModal(&dialog) == QDialog::Accepted) printerConfigured_ = true;
}

void TFichePrincipale::Imprimecran1Click()
{
    QPrinter& p = printer();
    const bool toFile = p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty();
    if (!toFile && QPrinterInfo::availablePrinters().isEmpty()) {
        if (!ui().confirmYesNo(this, tr("Aucune imprimante n'est installée sur cet ordinateur.\n"
                                        "Enregistrer la page dans un fichier PDF ?")))
            return;
        const QString file = ui().saveFileName(this, tr("Enregistrer la page en PDF"),
                                               QStringLiteral("pendulab.pdf"),
                                               tr("Documents PDF (*.pdf)"), QStringLiteral("pdf"));
        if (file.isEmpty()) return;
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
    }
    const QPixmap page = centralWidget()->grab();
    QPainter painter;
    if (!painter.begin(&p)) {
        const QString where = p.outputFileName().isEmpty() ? p.printerName() : p.outputFileName();
        throw std::runtime_error(tr("Impression impossible sur %1.").arg(where).toStdString());
    }
    const QRect area = painter.viewport();
    QSize size = page.size();
    size.scale(area.size(), Qt::KeepAspectRatio);
    painter.setViewport(area.x(), area.y(), size.width(), size.height());
    painter.setWindow(page.rect());
    painter.drawPixmap(0, 0, page);
    painter.end();
    if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty()) {
        ui().showMessage(this, tr("Page enregistrée dans %1.").arg(p.outputFileName()));
        if (!printerConfigured_) p.setOutputFileName(QString()); // ask again next time
    }
}
