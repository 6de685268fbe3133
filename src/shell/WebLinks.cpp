#include "shell/WebLinks.h"

#include "shell/AppVersion.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
LinkOpener& opener()
{
    static LinkOpener o;
    return o;
}
}

QString AuthorMailLink()
{
    return QStringLiteral("mailto:") + QLatin1String(AuthorEmailAddress) + QStringLiteral("?subject=")
        + AppProgramTitle() + QStringLiteral(" V") + AppVersionText();
}

void SetLinkOpener(LinkOpener o)
{
    opener() = std::move(o);
}

void OpenShellLink(const QString& link, LinkWindow window)
{
    if (opener()) {
        opener()(link, window);
        return;
    }
    // The desktop decides the window of the program it starts; QUrl encodes
    // the blank of the subject on the way out, as a mail link requires.
    QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}

void OpenMakerWebPage()
{
    OpenShellLink(QLatin1String(MakerWebAddress), LinkWindow::Maximized);
}

void StartMailToAuthor()
{
    OpenShellLink(AuthorMailLink(), LinkWindow::Normal);
}
