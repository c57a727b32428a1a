#pragma once

#include <QChar>

// Typed characters reach the key-press hooks as bytes of the Western European Windows code page.
namespace Windows1252 {

// A character the code page lacks becomes '?', as the system's own conversion does.
char fromUnicode(QChar c);
QChar toUnicode(char c);

} // namespace Windows1252
