// Makes a picture of the window for the documentation:
//   cuewright_screenshot --root DIR --mod MOD --script SCRIPT --output FILE.png
//                        [--check yes] [--timeline yes] [--caption ROW] [--find TEXT]
//                        [--maximized yes]
// Opens the real window on the game root, picks the mod in List1, shows the Scripts
// page and opens the script from File1, through the calls a user's clicks make, then
// saves what the window shows; with --check (or --timeline), after pressing "Check"
// (or "Timeline"), what the screen shows of the window and the tool window beside it;
// with --caption, the Caption panel for that row (from 0) of the grid; with --find, the
// Find in Mod panel's results for TEXT.
// With --maximized the window first takes the whole screen, as a window manager
// maximising it would. scripts/screenshot.sh runs it under Xvfb.
#include "gui/app/Application.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ModSearch.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCaption.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptTimeline.h"
#include "gui/timeline/TimelineView.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/ListBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr int kScriptsPage = 2;

int fail(const std::string &what)
{
    std::fprintf(stderr, "cuewright_screenshot: %s\n", what.c_str());
    return 1;
}

// Lets the window lay out, show and paint what has changed.
void settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

int selectByText(cw::gui::ListBox &list, const QString &text)
{
    const QModelIndexList matches =
        list.model()->match(list.model()->index(0, 0), Qt::DisplayRole, text, 2, Qt::MatchExactly);
    if (matches.size() != 1)
        return -1;
    const int position = matches.front().row();
    return list.setSelectedPosition(position) ? position : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cuewright"));

    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    for (const char *name : {"--root", "--mod", "--script", "--output"})
        if (!options.count(name))
            return fail(
                std::string("missing ") + name +
                "; usage: cuewright_screenshot --root DIR --mod MOD --script SCRIPT --output FILE.png");

    // A message box would wait for a click that never comes: give up instead.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        std::fprintf(stderr, "cuewright_screenshot: the window did not get there within 60 s\n");
        std::_Exit(1);
    });
    watchdog.start(60000);
    // A script the editor cannot hold whole says so on opening: the picture is of the
    // window, so the message is told here and closed.
    QTimer messages;
    QObject::connect(&messages, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "cuewright_screenshot: closed the message \"%s\"\n",
                         qPrintable(box->text()));
            box->accept();
        }
    });
    messages.start(50);

    // "--font POINTS": the window at another application font, as --font-size gives it.
    if (const auto points = options.find("--font"); points != options.end()) {
        QFont font = QApplication::font();
        font.setPointSizeF(std::stod(points->second));
        QApplication::setFont(font);
    }
    cw::gui::Startup startup = cw::gui::startUp(options["--root"]);
    if (!startup.window)
        return fail("the window did not start on " + options["--root"]);
    cw::gui::MainWindow &window = *startup.window;
    // Xvfb has no window manager to maximise the window: take its place.
    if (options["--maximized"] == "yes")
        window.setGeometry(window.screen()->availableGeometry());
    // A panel in the picture widens the window: it starts at the screen's left.
    if (options["--check"] == "yes" || options["--timeline"] == "yes" || options.count("--caption") > 0 ||
        options.count("--find") > 0)
        window.move(window.screen()->availableGeometry().topLeft());
    window.show();
    settle(300);
    if (!window.windowHandle() || !window.windowHandle()->isExposed())
        return fail("the window is not on the screen");

    const cw::gui::Controls &controls = window.controls();
    if (selectByText(*controls.list1, QString::fromStdString(options["--mod"])) < 0)
        return fail("no mod " + options["--mod"] + " in List1");
    // "--page N": the page shown in the picture (the Scripts page unless told).
    const auto page = options.find("--page");
    window.selectPage(kScriptsPage);
    if (selectByText(*controls.file1, QString::fromStdString(options["--script"])) < 0)
        return fail("no script " + options["--script"] + " in File1");
    if (!window.browser().openSelected())
        return fail("the script " + options["--script"] + " did not open");
    settle(500);

    if (page != options.end())
        window.selectPage(std::stoi(page->second));
    QPixmap picture;
    // A panel docks beside the grid, growing the window: the picture is the window's.
    if (options["--check"] == "yes")
        window.scriptCheck().check();
    if (options["--timeline"] == "yes")
        window.timeline().show();
    if (const auto row = options.find("--caption"); row != options.end()) {
        window.activateWindow();
        window.grid().focusRow(std::stoi(row->second));
        window.timeline().timeNow();
        window.captionPreview().show();
    }
    if (const auto text = options.find("--find"); text != options.end()) {
        cw::gui::ModSearch &search = window.modSearch();
        search.open(QString::fromStdString(text->second));
        QEventLoop searching;
        QObject::connect(&search, &cw::gui::ModSearch::searched, &searching, &QEventLoop::quit);
        search.search();
        if (search.searching())
            searching.exec();
    }
    // "--type ROW:FIELD:TEXT": the user typing into an argument field, with what the
    // field offers.
    if (const auto typed = options.find("--type"); typed != options.end()) {
        const QStringList parts = QString::fromStdString(typed->second).split(QLatin1Char(':'));
        if (parts.size() != 3)
            return fail("--type takes ROW:FIELD:TEXT");
        QLineEdit *field = window.grid().field(parts[0].toInt(), parts[1].toInt());
        window.activateWindow();
        field->setFocus();
        field->clear();
        settle(200);
        for (const QChar c : parts[2]) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
        settle(500);
        const QRect screen = window.frameGeometry();
        picture = window.screen()->grabWindow(0, screen.x(), screen.y(), screen.width(), screen.height());
    }
    if (picture.isNull()) {
        settle(800);
        picture = window.grab();
    }
    if (picture.isNull() || !picture.save(QString::fromStdString(options["--output"]), "PNG"))
        return fail("cannot write " + options["--output"]);
    std::printf("%s: %dx%d, caption \"%s\"\n", options["--output"].c_str(), picture.width(), picture.height(),
                window.windowTitle().toStdString().c_str());
    return 0;
}
