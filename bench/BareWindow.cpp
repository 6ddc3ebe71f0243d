// The yardstick for start-up: a bare Qt window of the editor's size that reports its
// first frame exactly the way the editor does. With --text it shows a line of text on
// a button, the least a window with text waits for: the system's fonts read.
#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <string_view>

namespace {

class BareWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_seen)
            return;
        m_seen = true;
        // Posted, as the editor's queued call is: handled once this frame has been flushed.
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    void customEvent(QEvent *) override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::fprintf(
            stderr, "cuewright-probe first-frame %lld\n",
            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stderr);
        QApplication::exit(0);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    if (argc > 1 && std::string_view(argv[1]) == "--text") {
        auto *button = new QPushButton(QStringLiteral("Launch Darwinia"), &window);
        button->setGeometry(8, 8, 170, 34);
    }
    window.resize(671, 713);
    window.show();
    return QApplication::exec();
}
