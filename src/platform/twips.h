#pragma once
// Window layouts are given in twips (1/1440 inch) and font sizes in hundredths of a point; these turn them into
// pixels for a window's DPI, rounding as MulDiv does.
namespace ww {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A face at a size, or, with no face, the system's message font as dialogs use it.
struct FontSpec {
    const wchar_t* face = nullptr;
    int centiPoints = 0; // 825 = 8.25 pt
    bool bold = false;
    bool operator==(const FontSpec&) const = default; // the same face text at another address is another font
};

constexpr int mulDivRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

// Negative: a character height, as LOGFONT expects for a point size.
constexpr int fontHeightForCentiPoints(int centiPoints, unsigned dpi) {
    return -mulDivRounded(centiPoints, static_cast<int>(dpi), 7200);
}

} // namespace ww
