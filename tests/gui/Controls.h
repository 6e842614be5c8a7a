#pragma once
// The main window's controls as a test meets them: by object name, as a user's tools do.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <qcustomplot.h>

#include "views/Accessibility.h"
#include "views/PhaseImage.h"
#include "views/UpDown.h"

template <class T> T* named(const QObject* root, const char* name) { return root->findChild<T*>(QString::fromLatin1(name)); }

#define PENDULAB_CONTROL(Type, name) \
    inline Type* name(const QObject* window) { return named<Type>(window, #name); }
PENDULAB_CONTROL(QAction, Acquisition1)
PENDULAB_CONTROL(QAction, Enregistrer1)
PENDULAB_CONTROL(QAction, EnregistrerExp1)
PENDULAB_CONTROL(QAction, EnregistrerExpSous1)
PENDULAB_CONTROL(QAction, Exporter1)
PENDULAB_CONTROL(QAction, Imprimecran1)
PENDULAB_CONTROL(QAction, Modlisation1)
PENDULAB_CONTROL(QAction, N1)
PENDULAB_CONTROL(QAction, Ouvrir1)
PENDULAB_CONTROL(QAction, Rapport1)
PENDULAB_CONTROL(QMenu, Fichier1)
PENDULAB_CONTROL(QMenu, Imprimer1)
PENDULAB_CONTROL(QCustomPlot, Chart1)
PENDULAB_CONTROL(QTreeWidget, runlist)
PENDULAB_CONTROL(QCustomPlot, Chart2)
PENDULAB_CONTROL(QCustomPlot, phichart)
PENDULAB_CONTROL(QCPGraph, Series1)
PENDULAB_CONTROL(QCPGraph, Series2)
PENDULAB_CONTROL(QCPGraph, Series3)
PENDULAB_CONTROL(QCPGraph, Series4)
PENDULAB_CONTROL(QCPGraph, Series5)
PENDULAB_CONTROL(QCPGraph, Series6)
PENDULAB_CONTROL(QCPGraph, ResidSeries)
PENDULAB_CONTROL(QTabWidget, PageControl1)
PENDULAB_CONTROL(QWidget, TabSheet2)
PENDULAB_CONTROL(TPhaseImage, xy)
PENDULAB_CONTROL(QFrame, vaxe)
PENDULAB_CONTROL(QFrame, haxe)
PENDULAB_CONTROL(QFrame, vcur0)
PENDULAB_CONTROL(QFrame, vcur1)
PENDULAB_CONTROL(QLabel, Label3)
PENDULAB_CONTROL(QLabel, Label5)
PENDULAB_CONTROL(QLineEdit, durtxt)
PENDULAB_CONTROL(QLineEdit, cursxtxt)
PENDULAB_CONTROL(QLineEdit, mpvtxt)
PENDULAB_CONTROL(QLineEdit, trigtxt)
PENDULAB_CONTROL(QCheckBox, trigchk)
PENDULAB_CONTROL(QCheckBox, residchk)
PENDULAB_CONTROL(QComboBox, sourcecmb)
PENDULAB_CONTROL(QPushButton, aqucmd)
PENDULAB_CONTROL(QProgressBar, progbar)
PENDULAB_CONTROL(QSlider, ea0track)
PENDULAB_CONTROL(QTimer, Timer2)
PENDULAB_CONTROL(TUpDown, UpDown7)
PENDULAB_CONTROL(TValueLabel, deltalbl)
PENDULAB_CONTROL(TValueLabel, survollbl)
#undef PENDULAB_CONTROL
