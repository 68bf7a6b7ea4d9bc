#include "loaderwindow.h"

#include "processusage.h"
#include "core/texte.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <qtestsupport_core.h>
#include <qtestsupport_widgets.h>

#include <stdexcept>

namespace {

// Ends an event loop when the watched widget is enabled: the upload button
// comes back right after the result text is shown. Waiting this way adds no
// polling to the loader's own event handling.
class EnabledAgain : public QObject
{
public:
    EnabledAgain(QWidget *widget, QEventLoop &loop) : m_loop(loop) { widget->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange && static_cast<QWidget *>(watched)->isEnabled())
            m_loop.quit();
        return false;
    }

private:
    QEventLoop &m_loop;
};

} // namespace

LoaderWindow::LoaderWindow()
{
    m_window.Form_Load();
    m_window.show();
    if (!QTest::qWaitForWindowExposed(&m_window))
        throw std::runtime_error("the loader's window was not shown");
}

void LoaderWindow::waitForBootloader()
{
    if (!QTest::qWaitFor([this] { return m_window.Upload->isEnabled(); }, 5000))
        throw failure("the loader did not find the bootloader", m_window.Label1->text());
}

LoaderWindow::Update LoaderWindow::update(const QString &path, int limitMs)
{
    m_dialogs.image = path;
    QEventLoop loop;
    const EnabledAgain resultShown(m_window.Upload, loop);
    QTimer::singleShot(limitMs, &loop, [&loop] { loop.exit(1); });

    const double cpuBefore = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    m_window.Upload->click();
    const bool timedOut = loop.exec() != 0;
    const Update result{double(clock.nsecsElapsed()) / 1e9, processCpuSeconds() - cpuBefore};

    if (timedOut || m_window.Label3->text() != Texte::updateErfolgreich())
        throw failure("the loader's update did not succeed", m_window.Label3->text());
    return result;
}

// What went wrong, with what the window shows and the messages it raised.
std::runtime_error LoaderWindow::failure(const char *what, const QString &status) const
{
    const QString shown = QStringList{status, m_dialogs.messages.join(QStringLiteral(" / "))}.join(QStringLiteral(" | "));
    return std::runtime_error(what + (": " + shown.toStdString()));
}
