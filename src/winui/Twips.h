#pragma once

namespace tessaline::winui {

// Twips to pixels and back at a screen's DPI: 1440 twips make an inch, so at 96 DPI a pixel is 15 twips.
class Twips {
public:
    explicit Twips(int dpi = 96) : dpi_(dpi > 0 ? dpi : 96) {}
    // The DPI of the primary screen, as the window is drawn there.
    static Twips screen();

    int dpi() const { return dpi_; }
    int px(int twips) const { return (twips * dpi_ + (twips >= 0 ? 720 : -720)) / 1440; }
    float twips(int pixels) const { return static_cast<float>(pixels) * 1440.0F / static_cast<float>(dpi_); }
    // Points (of a font size) to pixels.
    int pointPx(int points) const { return (points * dpi_ + 36) / 72; }

private:
    int dpi_;
};

}  // namespace tessaline::winui
