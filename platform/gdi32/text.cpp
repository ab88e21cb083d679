// Text output on a device context: TextOutA and DrawTextA with the selected font, the text
// colour and, in OPAQUE mode, the background colour behind every character cell. The text is
// Windows-1251 bytes, exactly as many as counted (-1: up to the terminating zero), shown as the
// characters they stand for; DrawTextA with a count of 0 does nothing and returns 0, with an
// empty terminated string it returns one line's height. A text cell is as high as the font's cell
// height, as on Windows. DrawTextA: DT_LEFT/DT_CENTER/DT_RIGHT; DT_TOP, and DT_VCENTER/DT_BOTTOM
// with DT_SINGLELINE; DT_WORDBREAK (between words, a word wider than the rectangle stands alone);
// line breaks at LF or CR LF unless DT_SINGLELINE; '&' prefixes (underlined, "&&" is '&') unless
// DT_NOPREFIX; clipping to the rectangle unless DT_NOCLIP; DT_CALCRECT. Everything is also clipped
// to the area being painted; a run that cannot show there is not drawn at all, and every font keeps
// the strings it has laid out, so a repaint of unchanged text does not shape it again. Glyphs
// too large for Qt's glyph cache are filled from their outlines on every draw; such a font
// also keeps a few of its opaque text cells as pictures, copied in place of drawing again.
// Not implemented: SetTextAlign (the reference point is always the top left), DT_EXPANDTABS and
// tab stops, ellipses, DT_EDITCONTROL, DT_EXTERNALLEADING, right-to-left text, character spacing.
#include "common/codepage.h"
#include "gdi32/gdi_internal.h"
#include "gdi32/text_recorder.h"
#include "vintorel_test_gdi.h"
#include "vintorel_trace.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vintorel::gdi32;

// One line of DrawTextA: its characters and, if any, the index of the underlined one.
struct Line {
    QString text;
    int underline = -1;
};

} // namespace

namespace vintorel::gdi32 {

// A font's cell: as high as a positive lfHeight asked for (the Qt font is the largest that fits
// in it, its spare pixels go on top as internal leading), otherwise ascent + descent. It keeps
// the strings drawn or measured with the font laid out, so that text drawn again unchanged (a
// window repainting the same words on every change of a number) is not shaped again.
struct TextCache {
    // A string as the font lays it out: its advance width and, once drawn, its glyphs.
    struct LaidOut {
        int width = 0;
        std::optional<QStaticText> glyphs;
    };
    // An opaque text cell as drawn: the string in one text colour on one background colour.
    struct Picture {
        QString text;
        QRgb ink;
        QRgb background;
        QImage::Format format;
        QImage image; // null when the glyphs reach outside the cell
    };
    static constexpr qsizetype kMaxStrings = 512; // then it starts afresh
    static constexpr size_t kMaxPictures = 16;    // then the oldest makes room

    QFont font;
    QFontMetricsF metrics;
    int ascent;
    int cellHeight;
    QHash<QString, LaidOut> strings;
    bool keepsPictures;
    std::vector<Picture> pictures;
    size_t nextPicture = 0;

    TextCache(const QFont &f, LONG lfHeight) : font(f), metrics(f) {
        const int descent = static_cast<int>(std::lround(metrics.descent()));
        const int natural = static_cast<int>(std::lround(metrics.ascent())) + descent;
        cellHeight = lfHeight > natural ? static_cast<int>(lfHeight) : natural;
        ascent = cellHeight - descent;
        keepsPictures = QFontInfo(font).pixelSize() > largestCachedGlyph();
    }

    // Qt's raster engine keeps glyphs up to this many pixels (QT_MAX_CACHED_GLYPH_SIZE).
    static int largestCachedGlyph() {
        static const int size = [] {
            const int fromEnvironment = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
            return fromEnvironment > 0 ? fromEnvironment : 64;
        }();
        return size;
    }

    LaidOut &laidOut(const QString &text) {
        auto it = strings.find(text);
        if (it == strings.end()) {
            if (strings.size() >= kMaxStrings) {
                strings.clear();
            }
            LaidOut fresh;
            fresh.width = static_cast<int>(std::lround(metrics.horizontalAdvance(text)));
            it = strings.insert(text, std::move(fresh));
        }
        return *it;
    }

    int width(const QString &text) { return laidOut(text).width; }

    const QStaticText &glyphs(const QString &text) {
        LaidOut &entry = laidOut(text);
        if (!entry.glyphs) {
            entry.glyphs.emplace(text);
            entry.glyphs->setTextFormat(Qt::PlainText);
            entry.glyphs->prepare(QTransform(), font);
        }
        return *entry.glyphs;
    }

    // Where the glyphs of a run are drawn, relative to the top left of its cell: a static text
    // is placed by the top of the font's ascent, the baseline stays where the cell puts it.
    QPointF glyphOrigin() const { return QPointF(0, ascent - metrics.ascent()); }

    // The run's opaque cell as a picture in the given format, or null when its glyphs reach
    // outside the cell (their pixels there depend on what is underneath).
    const QImage *picture(const QString &text, QRgb ink, QRgb background, QImage::Format format) {
        for (const Picture &kept : pictures) {
            if (kept.ink == ink && kept.background == background && kept.format == format &&
                kept.text == text) {
                return kept.image.isNull() ? nullptr : &kept.image;
            }
        }
        Picture made{text, ink, background, format, QImage()};
        const int w = width(text);
        const QRectF cell(0, 0, w, cellHeight);
        // One pixel around the ink for antialiasing.
        const QRectF inked =
            metrics.tightBoundingRect(text).translated(0, ascent).adjusted(-1, -1, 1, 1);
        if (w > 0 && cell.contains(inked)) {
            made.image = QImage(w, cellHeight, format);
            made.image.fill(QColor::fromRgb(background));
            QPainter p(&made.image);
            p.setFont(font);
            p.setPen(QColor::fromRgb(ink));
            p.drawStaticText(glyphOrigin(), glyphs(text));
        }
        size_t slot = nextPicture;
        if (pictures.size() < kMaxPictures) {
            slot = pictures.size();
            pictures.push_back(std::move(made));
        } else {
            pictures[slot] = std::move(made);
            nextPicture = (nextPicture + 1) % kMaxPictures;
        }
        const Picture &kept = pictures[slot];
        return kept.image.isNull() ? nullptr : &kept.image;
    }
};

} // namespace vintorel::gdi32

namespace {

using Metrics = vintorel::gdi32::TextCache;

Metrics &selectedMetrics(const DeviceContext &dc) {
    if (Font *font = objectAs<Font>(dc.font)) {
        if (!font->textCache) {
            font->textCache = std::make_shared<Metrics>(font->qfont, font->logFont.lfHeight);
        }
        return *font->textCache;
    }
    static auto *fallback = new Metrics(defaultGuiFont(), 0);
    return *fallback;
}

} // namespace

int vintorel::gdi32::fontCellHeight(HFONT font) {
    DeviceContext dc;
    dc.font = font;
    return selectedMetrics(dc).cellHeight;
}

namespace {

// Whether a text cell at this place can show anything in the visible region. Glyphs may reach
// a little beyond their cell (overhangs, accents), so the cell is widened before it is tested.
bool mayShow(const QRegion &visible, int x, int y, int width, int cellHeight) {
    const int margin = cellHeight / 2 + 2;
    return visible.intersects(
        QRect(x - margin, y - margin, width + 2 * margin, cellHeight + 2 * margin));
}

// Draws one run of text with its cell's top left at (x, y).
void drawRun(QPainter &p, const DeviceContext &dc, Metrics &m, int x, int y, const QString &text,
             int underline) {
    if (text.isEmpty()) {
        return;
    }
    const int width = m.width(text);
    const QColor color = toQColor(dc.textColor);
    if (dc.bkMode == OPAQUE && underline < 0 && m.keepsPictures &&
        dc.target->format() == QImage::Format_RGB32) {
        // The same pixels as below, filled once: the cell is opaque and holds all the ink.
        if (const QImage *cell =
                m.picture(text, color.rgb(), toQColor(dc.bkColor).rgb(), dc.target->format())) {
            p.drawImage(QPoint(x, y), *cell);
            return;
        }
    }
    if (dc.bkMode == OPAQUE) {
        p.fillRect(QRect(x, y, width, m.cellHeight), toQColor(dc.bkColor));
    }
    p.setFont(m.font);
    p.setPen(color);
    p.drawStaticText(QPointF(x, y) + m.glyphOrigin(), m.glyphs(text));
    if (underline >= 0 && underline < text.size()) {
        const int from = x + m.width(text.left(underline));
        const int to = x + m.width(text.left(underline + 1));
        const int lineY = y + m.ascent + std::max(1, static_cast<int>(m.metrics.underlinePos()));
        p.fillRect(QRect(from, lineY, std::max(1, to - from), 1), color);
    }
}

// Removes the '&' prefixes of a line: "&x" underlines x, "&&" stands for '&'.
Line withoutPrefixes(const QString &text) {
    Line line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&') {
                line.underline = static_cast<int>(line.text.size());
            }
        } else if (text[i] == u'&') {
            continue; // a trailing '&' prefixes nothing
        }
        line.text.append(text[i]);
    }
    return line;
}

// Breaks one paragraph into lines no wider than `width`, between words only; the blanks at a
// break are dropped.
void wrapParagraph(const QString &paragraph, Metrics &m, int width, std::vector<QString> *lines) {
    QString line;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        qsizetype blanksEnd = i;
        while (blanksEnd < paragraph.size() && paragraph[blanksEnd] == u' ') {
            ++blanksEnd;
        }
        qsizetype wordEnd = blanksEnd;
        while (wordEnd < paragraph.size() && paragraph[wordEnd] != u' ') {
            ++wordEnd;
        }
        const QString candidate = line + paragraph.mid(i, wordEnd - i);
        if (!line.isEmpty() && m.width(candidate) > width && wordEnd > blanksEnd) {
            lines->push_back(line);
            line = paragraph.mid(blanksEnd, wordEnd - blanksEnd);
        } else {
            line = candidate;
        }
        i = wordEnd;
    }
    lines->push_back(line);
}

std::vector<Line> layOut(const QString &text, UINT format, Metrics &m, int width) {
    std::vector<QString> raw;
    if (format & DT_SINGLELINE) {
        raw.push_back(text);
    } else {
        QString normalized = text;
        normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        for (const QString &paragraph : normalized.split(u'\n')) {
            if (format & DT_WORDBREAK) {
                wrapParagraph(paragraph, m, width, &raw);
            } else {
                raw.push_back(paragraph);
            }
        }
    }
    std::vector<Line> lines;
    lines.reserve(raw.size());
    for (const QString &r : raw) {
        lines.push_back((format & DT_NOPREFIX) ? Line{r, -1} : withoutPrefixes(r));
    }
    return lines;
}

} // namespace

extern "C" {

BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
    VINTOREL_TRACE(GDI32, "TextOutA %p (%d,%d) \"%.*s\"", static_cast<void *>(handle), x, y,
                   text ? std::max(count, 0) : 0, text ? text : "");
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr || count < 0 || (text == nullptr && count > 0)) {
        return FALSE;
    }
    recordTextCall(*dc, VINTOREL_TEXT_OUT, text, count, count, x, y, nullptr, 0);
    if (count == 0) {
        return TRUE;
    }
    Metrics &m = selectedMetrics(*dc);
    const QString run = vintorel::fromCp1251(std::string_view(text, static_cast<size_t>(count)));
    if (mayShow(dc->clip, x, y, m.width(run), m.cellHeight)) {
        paintOn(dc, [&](QPainter &p) { drawRun(p, *dc, m, x, y, run, -1); });
    }
    return TRUE;
}

int WINAPI DrawTextA(HDC handle, LPCSTR text, int count, LPRECT rect, UINT format) {
    VINTOREL_TRACE(GDI32, "DrawTextA %p \"%.*s\" format %#x", static_cast<void *>(handle),
                   text == nullptr ? 0 : (count < 0 ? static_cast<int>(std::strlen(text)) : count),
                   text ? text : "", format);
    DeviceContext *dc = dcOf(handle);
    if (dc == nullptr || rect == nullptr || (text == nullptr && count > 0)) {
        return 0;
    }
    const int length = text == nullptr ? 0
                       : count < 0     ? static_cast<int>(std::strlen(text))
                                       : count;
    recordTextCall(*dc, VINTOREL_DRAW_TEXT, text, count, length, rect->left, rect->top, rect,
                   format);
    if (count == 0) {
        return 0; // the rectangle stays as it is, even for DT_CALCRECT
    }
    Metrics &m = selectedMetrics(*dc);
    if (length == 0) {
        // An empty terminated string (or none) is one empty line.
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top + ((format & DT_SINGLELINE) ? m.cellHeight : 0);
        }
        return m.cellHeight;
    }
    const QString all = vintorel::fromCp1251(std::string_view(text, static_cast<size_t>(length)));
    const std::vector<Line> lines = layOut(all, format, m, rect->right - rect->left);
    const int textHeight = m.cellHeight * static_cast<int>(lines.size());

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const Line &line : lines) {
            widest = std::max(widest, m.width(line.text));
        }
        rect->right = rect->left + widest;
        rect->bottom = rect->top + textHeight;
        return textHeight;
    }

    int top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM) {
            top = rect->bottom - m.cellHeight;
        } else if (format & DT_VCENTER) {
            top = rect->top + (rect->bottom - rect->top - m.cellHeight) / 2;
        }
    }
    // Where each line goes; only lines that can show in the visible part are drawn.
    QRegion visible = dc->clip;
    if (!(format & DT_NOCLIP)) {
        visible &= QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    }
    struct Placed {
        const Line *line;
        int x, y;
    };
    std::vector<Placed> shown;
    int y = top;
    for (const Line &line : lines) {
        const int width = m.width(line.text);
        int x = rect->left;
        if (format & DT_CENTER) {
            x = (rect->left + rect->right - width) / 2;
        } else if (format & DT_RIGHT) {
            x = rect->right - width;
        }
        if (!visible.isEmpty() && mayShow(visible, x, y, width, m.cellHeight)) {
            shown.push_back(Placed{&line, x, y});
        }
        y += m.cellHeight;
    }
    if (!shown.empty()) {
        paintOn(dc, [&](QPainter &p) {
            if (!(format & DT_NOCLIP)) {
                p.setClipRect(QRect(rect->left, rect->top, rect->right - rect->left,
                                    rect->bottom - rect->top),
                              Qt::IntersectClip);
            }
            for (const Placed &placed : shown) {
                drawRun(p, *dc, m, placed.x, placed.y, placed.line->text, placed.line->underline);
            }
        });
    }
    if (format & (DT_VCENTER | DT_BOTTOM)) {
        return top - rect->top + textHeight;
    }
    return textHeight;
}

} // extern "C"
