#include "app/avertisit1.h"

#include <QApplication>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString Tavert::memoText()
{
    const QStringList lines = {
        QStringLiteral("             PENDULAB  version 2.0"),
        tr("Contact : l'équipe de développement de Pendulab"),
        tr("Pour les lycées et les classes de physique"),
        QString(),
        QString(),
        tr("Logiciel pour l'étude des oscillations du pendule amorti/excité"),
        tr("Acquisition du déplacement vertical du poids avec une carte"),
        tr("SYSAM (Eurosmart)."),
        QString(),
        tr("Au menu :"),
        tr("* acquisition de la tension proportionnelle à la position du ressort"),
        tr("* tracé automatique de la dérivée et du portrait de phase"),
        tr("* possibilité de modéliser en surimpression la courbe théorique"),
        tr("  pour retrouver les paramètres."),
        tr("* Simulation du régime entretenu (moteur d'excitation en haut du "),
        tr("ressort)"),
        tr("* Exportation des valeurs vers Excel."),
        tr("* Tracé du bilan énergétique de la simulation"),
    };
    return lines.join(QLatin1Char('\n'));
}

Tavert::Tavert(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("avert"));
    setWindowTitle(tr("À propos de Pendulab"));
    setFixedSize(324, 331);
    setModal(true);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(memoText());
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont memoFont = Memo1->font();
    memoFont.setPointSizeF(7.5);
    Memo1->setFont(memoFont);
    QPalette pal = Memo1->palette();
    pal.setColor(QPalette::Base, QApplication::palette().color(QPalette::Button));
    Memo1->setPalette(pal);
    Memo1->setAccessibleName(tr("À propos de Pendulab"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Memo1);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    BitBtn1->setFocus();
}
