#include "dialog_units.h"

#include <cstddef>

namespace disc_maker {
namespace {

HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    // Without the field Vista added, which Windows XP refuses the whole call for.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(metrics.lfMessageFont);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

DialogUnits::DialogUnits() : font_(MessageFont()) {
    const autorun::WindowDc screen(nullptr);
    const autorun::Selection selected(screen.get(), font_.get());
    TEXTMETRICW metrics{};
    SIZE size{};
    // The average width as Windows' dialog manager measures it.
    constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextMetricsW(screen.get(), &metrics) && GetTextExtentPoint32W(screen.get(), kLetters, 52, &size)) {
        baseX_ = (size.cx / 26 + 1) / 2;
        baseY_ = metrics.tmHeight;
    }
}

}  // namespace disc_maker
