#pragma once
// The two links that lead out of the editor: the maker's web page and a new
// e-mail to the author. Both are handed to the desktop (default browser or
// mail program); tests install an opener to see the address instead.
#include <QString>

#include <functional>

// The program's home and its author; one pair, used by the links and the About box.
inline constexpr const char* MakerWebAddress = "https://www.example.org/vorned/";
inline constexpr const char* AuthorEmailAddress = "author@example.org";

// "mailto:" + author + "?subject=VornEd V0.3", the blank left as it is.
QString AuthorMailLink();

// How a link is shown: the web page asks for a maximized browser, the mail a normal window.
enum class LinkWindow { Normal, Maximized };

using LinkOpener = std::function<void(const QString& link, LinkWindow window)>;

// Hands `link` to the desktop. The result is not reported: when no program
// answers, nothing happens.
void OpenShellLink(const QString& link, LinkWindow window);

// Installs an opener (tests); an empty one restores the desktop's.
void SetLinkOpener(LinkOpener opener);

// Help > Internet > Gantrow: opens the maker's web page.
void OpenMakerWebPage();
// Help > Internet > Email Author: starts an e-mail to the author.
void StartMailToAuthor();
