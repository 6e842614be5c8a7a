#pragma once
// The program's three windows, created at start-up in this order and kept for the whole run.
class TFichePrincipale;
class Tconfig;
class Tavert;

struct AppWindows {
    TFichePrincipale* FichePrincipale = nullptr; // owns the other two
    Tconfig* config = nullptr;
    Tavert* avert = nullptr;
};

// Creates the main window, then the modelling dialog, then the about box.
AppWindows createWindows();

// The process-wide references to the windows of the running program.
extern AppWindows Windows;
