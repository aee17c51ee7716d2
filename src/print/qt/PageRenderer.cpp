// Pages are drawn as text runs (not glyphs), so a PDF keeps the text as
// text. Each run of one token colour is placed where the row's text before
// it ends, or after the previous run, whichever lies further right.
#include "print/qt/PageRenderer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QPainter>
#include <QPicture>
#include <array>
#include <cerrno>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "base/FileIo.h"
#include "base/qt/FontSubstitutes.h"
#include "base/qt/QtColor.h"
#include "base/qt/QtText.h"
#include "syntax/BracketDepth.h"
#include "syntax/EditorFountain.h"
#include "syntax/TokenCells.h"

namespace quodle {

namespace {

// The printing font in its four styles, with an advance cache per style:
// rows are measured character by character, so measuring is additive and
// a row's width is the sum of its runs.
class TPrintFonts {
public:
    TPrintFonts(const TPrintFont& font, int dpi) {
        RegisterFontSubstitutes();
        QFont base(QString::fromStdString(font.Name));
        base.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * dpi / 72.0))));
        base.setStyleHint(QFont::TypeWriter);
        base.setKerning(false);
        base.setHintingPreference(QFont::PreferNoHinting);
        baseStyle_ = StyleIndex(font.Style);
        for (int style = 0; style < 4; ++style) {
            QFont f = base;
            f.setBold(style & 1);
            f.setItalic(style & 2);
            fonts_[static_cast<std::size_t>(style)] = f;
            metrics_[static_cast<std::size_t>(style)] = std::make_unique<QFontMetricsF>(f);
        }
        const QFontMetricsF& m = Metrics(baseStyle_);
        metrics.RowHeight = static_cast<int>(std::ceil(m.height())) + static_cast<int>(std::ceil(m.leading()));
        metrics.AverageWidth = static_cast<int>(std::ceil(m.averageCharWidth()));
        ascent = m.ascent();
    }
    static int StyleIndex(TFontStyles style) {
        return (style.Contains(fsBold) ? 1 : 0) | (style.Contains(fsItalic) ? 2 : 0);
    }
    int BaseStyle() const { return baseStyle_; }
    const QFont& Font(int style) const { return fonts_[static_cast<std::size_t>(style)]; }
    const QFontMetricsF& Metrics(int style) const { return *metrics_[static_cast<std::size_t>(style)]; }
    double Width(const QString& text, int style) {
        std::vector<float>& cache = advances_[static_cast<std::size_t>(style)];
        if (cache.empty()) cache.assign(65536, -1.0f);
        double width = 0;
        for (const QChar ch : text) {
            float& advance = cache[ch.unicode()];
            if (advance < 0) advance = static_cast<float>(Metrics(style).horizontalAdvance(ch));
            width += advance;
        }
        return width;
    }

    TPrintFontMetrics metrics;
    double ascent = 0;

private:
    std::array<QFont, 4> fonts_;
    std::array<std::unique_ptr<QFontMetricsF>, 4> metrics_;
    std::array<std::vector<float>, 4> advances_;
    int baseStyle_ = 0;
};

// The colours of a mode.
struct TModeColors {
    QColor Page;
    QColor Text;
    QColor Header;
};

TModeColors ModeColors(const TStringsPrinter& printer) {
    if (!printer.ColorMode()) return {Qt::white, Qt::black, Qt::black};
    return {ToQColor(printer.BkColor(), Qt::white), ToQColor(printer.Font().Color, Qt::black),
            ToQColor(printer.HeaderColor(), Qt::black)};
}

class TPagePainter {
public:
    TPagePainter(const TStringsPrinter& printer, const TPageGeometry& geometry, TPrintFonts& fonts,
                 const TPagePlan& plan, const TClock& clock)
        : printer_(printer), g_(geometry), fonts_(fonts), plan_(plan), clock_(clock), colors_(ModeColors(printer)) {
        if (const auto fountain = printer.Fountain(); fountain && printer.TokenMode()) parser_ = fountain->CreateParser();
        if (parser_ && printer.PrintMode() == pmColorToken && printer.BracketDepthColors())
            depths_.emplace(IsDarkBackground(printer.BkColor()), 0);
    }

    // Draws page `index`; rows are visited in order, so the token state
    // carries from page to page.
    void Draw(QPainter& p, std::size_t index) {
        const int pageNumber = plan_.Pages[index].PageNumber;
        p.fillRect(0, 0, g_.PageWidth, g_.PageHeight, colors_.Page);
        DrawBand(p, printer_.Header(), printer_.HeaderAlign(), g_.HeaderTop, g_.HeaderHeight, pageNumber);
        p.setFont(fonts_.Font(fonts_.BaseStyle()));
        p.setPen(colors_.Header);
        ForEachPageRow(printer_, plan_, g_, index, [&](std::size_t, int column, int y, int number) {
            if (number == 0) return;
            const QString text = QString::number(number) + QLatin1Char(':');
            const double width = fonts_.Width(text, fonts_.BaseStyle());
            p.drawText(QPointF(g_.ColumnLeft(column) - width, y + fonts_.ascent), text);
        });
        int clipColumn = -1;
        ForEachPageRow(printer_, plan_, g_, index, [&](std::size_t row, int column, int y, int) {
            if (column != clipColumn) {
                clipColumn = column;
                p.setClipRect(QRect(g_.ColumnLeft(column), g_.RowsTop, g_.ColumnWidth, g_.RowsBottom - g_.RowsTop));
            }
            DrawRow(p, row, g_.ColumnLeft(column), y);
        });
        p.setClipping(false);
        DrawBand(p, printer_.Footer(), printer_.FooterAlign(), g_.FooterTop, g_.FooterHeight, pageNumber);
    }

private:
    void DrawBand(QPainter& p, const std::string& format, TStringsPrinterHeaderAlign align, int top, int height,
                  int page) {
        if (height <= 0) return;
        const QString text =
            QString::fromStdString(FormatHeaderText(format, printer_.FileName(), page, clock_));
        const double width = fonts_.Width(text, fonts_.BaseStyle());
        double x = g_.TextLeft;
        if (align == haCenter) x = g_.TextLeft + (g_.TextRight - g_.TextLeft - width) / 2;
        else if (align == haRight) x = g_.TextRight - width;
        p.setFont(fonts_.Font(fonts_.BaseStyle()));
        p.setPen(colors_.Header);
        p.drawText(QPointF(x, top + (height - fonts_.metrics.RowHeight) / 2 + fonts_.ascent), text);
    }

    void DrawRow(QPainter& p, std::size_t index, int left, int y) {
        const TPrintRow& row = plan_.Rows[index];
        const int base = fonts_.BaseStyle();
        if (!parser_) {
            if (row.Text.empty()) return;
            p.setFont(fonts_.Font(base));
            p.setPen(colors_.Text);
            p.drawText(QPointF(left, y + fonts_.ascent), SjisToQString(row.Text));
            return;
        }
        // Rows not printed (outside a line range) still carry the state and
        // the bracket depth to the rows after them.
        for (; scanned_ < index; ++scanned_) {
            const std::span<const TTokenSpan> skipped = ParseRow(scanned_);
            if (depths_) depths_->Pass(depths_->Depth(), skipped, plan_.Rows[scanned_].Text);
        }
        const std::span<const TTokenSpan> tokens = ParseRow(index);
        scanned_ = index + 1;
        const std::string_view text = row.Text;
        // Runs of one colour, each drawn once it ends.
        double before = 0;  // width of the row's text before the run
        double end = left;  // where the previous run ended
        std::size_t runStart = 0;
        const TFountainColor* runColor = nullptr;
        auto flush = [&](std::size_t runEnd) {
            if (runEnd == runStart) return;
            const QString run = SjisToQString(text.substr(runStart, runEnd - runStart));
            DrawRun(p, run, runColor, std::max(left + before, end), y, end);
            before += fonts_.Width(run, base);
            runStart = runEnd;
        };
        const TCellLayout layout{printer_.TabSpaceCount(), 0};
        // Every token is looked up, so the depth goes on to the next row.
        const auto colorOf = [&](const TTokenSpan& token) { return TokenColorBy(depths_, *parser_, token, text); };
        ForEachTokenCell(text, tokens, layout, std::numeric_limits<int>::max(), colorOf, [&](const TTokenCell& cell) {
            if (cell.Color != runColor) {
                flush(cell.Pos);
                runColor = cell.Color;
            }
        });
        flush(text.size());
    }

    // The row is scanned joined with the next when the line goes on, so
    // a token cut by the wrap is seen whole.
    std::span<const TTokenSpan> ParseRow(std::size_t index) {
        TNextRow next;
        const bool wrapped = plan_.Rows[index].Wrapped && index + 1 < plan_.Rows.size();
        if (wrapped) next = {plan_.Rows[index + 1].Text, reWrapped};
        state_.RowEnding = wrapped ? reWrapped : reBreak;
        const std::span<const TTokenSpan> tokens = parser_->ParseRow(plan_.Rows[index].Text, wrapped ? &next : nullptr, state_);
        state_.PrevRowEnding = wrapped ? reWrapped : reBreak;
        return tokens;
    }

    void DrawRun(QPainter& p, const QString& run, const TFountainColor* color, double x, int y, double& end) {
        QColor fore = colors_.Text;
        QColor back;  // invalid: no fill
        int style = fonts_.BaseStyle();
        if (color) {
            style |= TPrintFonts::StyleIndex(color->Style());
            if (printer_.PrintMode() == pmColorToken) {
                fore = ToQColor(color->Color(), ToQColor(printer_.Font().Color, Qt::black));
                const QColor bk = ToQColor(color->BkColor(), colors_.Page);
                if (bk != colors_.Page) back = bk;
            }
        }
        QFont font = fonts_.Font(style);
        if (color && color->Style().Contains(fsUnderline)) font.setUnderline(true);
        if (color && color->Style().Contains(fsStrikeOut)) font.setStrikeOut(true);
        const double width = fonts_.Width(run, style);
        if (back.isValid()) p.fillRect(QRectF(x, y, width, fonts_.metrics.RowHeight), back);
        p.setFont(font);
        p.setPen(fore);
        p.drawText(QPointF(x, y + fonts_.ascent), run);
        end = x + width;
    }

    const TStringsPrinter& printer_;
    const TPageGeometry& g_;
    TPrintFonts& fonts_;
    const TPagePlan& plan_;
    const TClock& clock_;
    TModeColors colors_;
    std::unique_ptr<TFountainParser> parser_;
    TRowParseState state_;
    std::size_t scanned_ = 0;  // rows whose tokens carried the state on
    std::optional<TDepthColoring> depths_;
};

bool FountainItalic(const TStringsPrinter& printer) {
    const auto fountain = printer.Fountain();
    const auto* editor = dynamic_cast<const TEditorFountain*>(fountain.get());
    return printer.PrintMode() == pmColorToken && editor && editor->HasItalic();
}

// The geometry of the device and the rows and pages of the lines.
bool LayOut(const TStringsPrinter& printer, const TPrintDevice& device, TLineList lines, TPrintFonts& fonts,
            TPageGeometry& geometry, TPagePlan& plan, const std::function<bool(std::size_t, std::size_t)>& keepGoing) {
    geometry = ComputePageGeometry(printer, device, fonts.metrics, lines.size(), FountainItalic(printer));
    const int base = fonts.BaseStyle();
    const auto measure = [&](std::string_view bytes) {
        return static_cast<long long>(std::ceil(fonts.Width(SjisToQString(bytes), base)));
    };
    return PlanPages(printer, lines, geometry, measure, plan, keepGoing);
}

int PrinterDpi(const TPrintDevice& device) { return device.Dpi > 0 ? device.Dpi : device.ScreenDpi; }

}  // namespace

std::size_t CountPages(const TStringsPrinter& printer, const TPrintDevice& device, TLineList lines) {
    TPrintFonts fonts(printer.Font(), PrinterDpi(device));
    TPageGeometry geometry;
    TPagePlan plan;
    LayOut(printer, device, lines, fonts, geometry, plan, nullptr);
    return plan.Pages.size();
}

bool RenderPages(const TStringsPrinter& printer, const TPrintDevice& device, TLineList lines, TRenderedPages& out,
                 const QString& progressText, TPrintProgress* progress, const TClock& clock) {
    out.Pages.Clear();
    TPrintFonts fonts(printer.Font(), PrinterDpi(device));
    struct TFinish {
        TPrintProgress* progress;
        ~TFinish() {
            if (progress) progress->Finish();
        }
    } finish{progress};
    if (progress) progress->Start(progressText);
    // Laying out is the first half of the way, drawing the second.
    TPageGeometry geometry;
    TPagePlan plan;
    const bool laidOut = LayOut(printer, device, lines, fonts, geometry, plan, [&](std::size_t i, std::size_t n) {
        return !progress || progress->Update(progressText, static_cast<int>(2 * n), static_cast<int>(i));
    });
    if (!laidOut) return false;
    out.PageSize = QSize(geometry.PageWidth, geometry.PageHeight);
    out.Offsets = PaperOffsets(device);
    out.ScreenRatio = ScreenToPrinterRatio(device);

    TPagePainter painter(printer, geometry, fonts, plan, clock);
    const int rows = static_cast<int>(plan.Rows.size());
    for (std::size_t page = 0; page < plan.Pages.size(); ++page) {
        QPicture picture;
        picture.setBoundingRect(QRect(QPoint(0, 0), out.PageSize));
        {
            QPainter p(&picture);
            painter.Draw(p, page);
        }
        if (!out.Pages.Add(picture)) {
            out.Pages.Clear();
            return false;
        }
        const std::size_t next = page + 1 < plan.Pages.size() ? plan.Pages[page + 1].Row : plan.Rows.size();
        if (progress && !progress->Update(progressText, 2 * rows, rows + static_cast<int>(next))) {
            out.Pages.Clear();
            return false;
        }
    }
    return true;
}

void DrawPageOn(QPainter& painter, const TRenderedPages& pages, std::size_t index, const QRectF& area) {
    const QPicture picture = pages.Pages.Page(index);
    const QPaintDevice* device = painter.device();
    const double sx = pages.PageSize.width() > 0 ? area.width() / pages.PageSize.width() : 1.0;
    const double sy = pages.PageSize.height() > 0 ? area.height() / pages.PageSize.height() : 1.0;
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(sx * picture.logicalDpiX() / device->logicalDpiX(), sy * picture.logicalDpiY() / device->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

namespace {

bool PaintPages(const TStringsPrinter& printer, const TRenderedPages& pages, QPagedPaintDevice& device,
                int resolution) {
    const std::vector<int> numbers = PrintedPageNumbers(printer, pages.Pages.Count());
    QPainter p;
    if (!p.begin(&device)) return false;
    const QRect area = device.pageLayout().paintRectPixels(resolution);
    bool first = true;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] < 0) continue;
        if (!first) device.newPage();
        first = false;
        DrawPageOn(p, pages, i, QRectF(QPointF(0, 0), QSizeF(area.size())));
    }
    return p.end();
}

}  // namespace

bool SendPages(const TStringsPrinter& printer, const TRenderedPages& pages, QPrinter& device) {
    return PaintPages(printer, pages, device, device.resolution());
}

void WritePdf(const TStringsPrinter& printer, const TRenderedPages& pages, const QPrinter& settings,
              const std::filesystem::path& path) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(settings.pageLayout());
        writer.setResolution(settings.resolution());
        writer.setCreator(settings.creator());
        writer.setTitle(QString::fromStdString(path.filename().string()));
        // Only memory can fail here.
        if (!PaintPages(printer, pages, writer, settings.resolution())) throw FileError::FromErrno(path, ENOMEM);
    }
    SaveFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace quodle
