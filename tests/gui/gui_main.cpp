// Widget tests run with a real QApplication on the offscreen platform.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("VIRTUALCARD_PACE", "none", 0);
    // The program's settings go to a folder of this run's own.
    char folder[] = "/tmp/pendulab-gui-settings-XXXXXX";
    if (::mkdtemp(folder) != nullptr) {
        ::setenv("XDG_CONFIG_HOME", folder, 1);
        ::setenv("XDG_DATA_HOME", folder, 1); // and its autosaves
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pendulab"));
    QApplication::setApplicationName(QStringLiteral("Pendulab"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
