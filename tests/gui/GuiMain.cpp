// The window tests run headless on Qt's offscreen platform, on a screen whose
// size comes from CAMINI_TEST_SCREEN ("1366x768" unless said otherwise).
#include <QApplication>
#include <QFile>
#include <QThreadPool>
#include <cstdlib>
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    std::string screen = "1366x768";
    if (const char* s = std::getenv("CAMINI_TEST_SCREEN"))
        screen = s;
    const auto x = screen.find('x');
    const std::string width = screen.substr(0, x);
    const std::string height = screen.substr(x + 1);
    const std::string config =
        "/tmp/camini-screen-" + screen + "-" + std::to_string(::getpid()) + ".json";
    QFile f(QString::fromStdString(config));
    if (f.open(QIODevice::WriteOnly)) {
        const std::string json =
            "{\"screens\": [{\"name\": \"screen0\", \"x\": 0, \"y\": 0, \"width\": " + width +
            ", \"height\": " + height +
            ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}";
        f.write(json.data(), static_cast<qint64>(json.size()));
        f.close();
    }
    qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString("offscreen:configfile=" + config));
    QApplication app(argc, argv);
    // The permission tests fork this process (runInChild). A child keeps none
    // of the parent's threads, while the thread pool that paints wide areas
    // would still count on them and wait forever: the pool lets its threads
    // go before every fork, and the child starts its own.
    ::pthread_atfork([] { QThreadPool::globalInstance()->waitForDone(); }, nullptr, nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    QFile::remove(QString::fromStdString(config));
    return rc;
}
