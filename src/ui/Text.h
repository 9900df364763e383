#pragma once

#include <QString>
#include <string>

namespace tessaline::ui {

// The models keep UTF-8 with Windows line ends (CR LF); the widgets show QString with "\n" alone.

inline QString toQ(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStd(const QString& text) { return text.toUtf8().toStdString(); }

// CR LF and a lone CR become one "\n", as an edit widget shows line breaks.
QString toWidgetText(const std::string& modelText);
// Each "\n" becomes CR LF, the line end the program's own texts use.
std::string toModelText(const QString& widgetText);

// Character positions: the models count Unicode code points (CR LF as two), the widgets count UTF-16 units
// of their own text (a line break as one).
int widgetPosition(const std::string& modelText, int modelPosition);
int modelPosition(const QString& widgetText, int widgetPosition);

// Twips to pixels at the window's fixed scale of 15 twips per pixel.
constexpr int kTwipsPerPixel = 15;
inline int px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace tessaline::ui
