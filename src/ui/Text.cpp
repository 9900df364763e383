#include "ui/Text.h"

namespace tessaline::ui {

QString toWidgetText(const std::string& modelText) {
    QString text = toQ(modelText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string toModelText(const QString& widgetText) {
    QString text = widgetText;
    // A pasted CR LF must not double its CR.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toStd(text);
}

int widgetPosition(const std::string& modelText, int modelPosition) {
    const QString text = toQ(modelText);
    int points = 0;
    int units = 0;
    for (qsizetype i = 0; i < text.size() && points < modelPosition; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            // CR LF is two characters of the model and one line break of the widget; a position between
            // them lands after the break.
            points += 2;
            ++i;
            units += 1;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            points += 1;
            ++i;
            units += 2;
        } else {
            points += 1;
            units += 1;
        }
    }
    return units;
}

int modelPosition(const QString& widgetText, int widgetPosition) {
    int points = 0;
    const qsizetype end = std::min<qsizetype>(widgetPosition, widgetText.size());
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = widgetText.at(i);
        if (c == QLatin1Char('\n')) {
            points += 2;
        } else if (c.isHighSurrogate() && i + 1 < widgetText.size() && widgetText.at(i + 1).isLowSurrogate()) {
            points += 1;
            ++i;
        } else {
            points += 1;
        }
    }
    return points;
}

}  // namespace tessaline::ui
