// Shared entry of the test executables: the Qt application object the layer
// needs, then GoogleTest. The offscreen platform is used when none is given.
#include <gtest/gtest.h>

#include <cstdlib>

#if defined(KV_TEST_APP_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(KV_TEST_APP_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
