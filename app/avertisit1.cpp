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
        QStringLiteral("Contact : l'équipe de développement de Pendulab"),
        QStringLiteral("Pour les lycées et les classes de physique"),
        QString(),
        QString(),
        QStringLiteral("Logiciel pour l'étude des oscillations du pendule amorti/excité"),
        QStringLiteral("Acquisition du déplacement vertical du poids avec une carte"),
        QStringLiteral("SYSAM (Eurosmart)."),
        QString(),
        QStringLiteral("Au menu :"),
        QStringLiteral("* acquisition de la tension proportionnelle à la position du ressort"),
        QStringLiteral("* tracé automatique de la dérivée et du portrait de phase"),
        QStringLiteral("* possibilité de modéliser en surimpression la courbe théorique"),
        QStringLiteral("  pour retrouver les paramètres."),
        QStringLiteral("* Simulation du régime entretenu (moteur d'excitation en haut du "),
        QStringLiteral("ressort)"),
        QStringLiteral("* Exportation des valeurs vers Excel."),
        QStringLiteral("* Tracé du bilan énergétique de la simulation"),
    };
    return lines.join(QLatin1Char('\n'));
}

Tavert::Tavert(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("avert"));
    setWindowTitle(QStringLiteral("À propos de Pendulab"));
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
    Memo1->setAccessibleName(QStringLiteral("À propos de Pendulab"));
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
