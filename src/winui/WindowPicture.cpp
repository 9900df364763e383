#include "winui/WindowPicture.h"

#include <wincodec.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "automation/com/ComPtr.h"
#include "winui/WideText.h"

namespace tessaline::winui {

namespace {

using automation::com::ComPtr;

void check(HRESULT result, const char* step) {
    if (FAILED(result)) {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(result));
        throw std::runtime_error(std::string("cannot write the picture: ") + step + " failed (" + code + ")");
    }
}

// COM for the imaging component, on whatever terms the thread already has it.
class ComUse {
public:
    ComUse() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComUse() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

private:
    HRESULT result_;
};

// The window's pixels, top-down BGRA rows.
std::vector<unsigned char> capture(HWND window, int width, int height) {
    HDC screen = GetWindowDC(window);
    if (screen == nullptr) throw std::runtime_error("cannot read the window's pixels");
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<unsigned char> pixels;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // What the window shows; where the copy is refused, the window draws itself into the picture.
        if (!BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY)) PrintWindow(window, memory, 0);
        GdiFlush();
        const auto* begin = static_cast<const unsigned char*>(bits);
        pixels.assign(begin, begin + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, screen);
    if (pixels.empty()) throw std::runtime_error("cannot read the window's pixels");
    // The copy leaves the alpha byte undefined; the picture is opaque.
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;
    return pixels;
}

}  // namespace

void saveWindowPicture(HWND window, const std::string& pngPath) {
    RECT bounds{};
    if (window == nullptr || !GetWindowRect(window, &bounds)) throw std::runtime_error("no window to picture");
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) throw std::runtime_error("the window has no size");
    std::vector<unsigned char> pixels = capture(window, width, height);

    const ComUse com;
    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           factory.putVoid()),
          "starting the imaging component");
    ComPtr<IWICStream> stream;
    check(factory->CreateStream(stream.put()), "CreateStream");
    check(stream->InitializeFromFilename(wide(pngPath).c_str(), GENERIC_WRITE), ("opening " + pngPath).c_str());
    ComPtr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()), "CreateEncoder");
    check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "Initialize");
    ComPtr<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(frame.put(), nullptr), "CreateNewFrame");
    check(frame->Initialize(nullptr), "frame Initialize");
    check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "SetSize");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    check(frame->SetPixelFormat(&format), "SetPixelFormat");
    if (format != GUID_WICPixelFormat32bppBGRA) throw std::runtime_error("cannot write the picture: no 32-bit PNG");
    const UINT stride = static_cast<UINT>(width) * 4;
    check(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(pixels.size()), pixels.data()),
          "WritePixels");
    check(frame->Commit(), "frame Commit");
    check(encoder->Commit(), "Commit");
}

}  // namespace tessaline::winui
