// Widget tests run with a real QApplication on the offscreen platform.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("VIRTUALCARD_PACE", "none", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendulab"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
