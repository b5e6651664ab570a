#include "inspect/png_decode.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <vector>

namespace {

// Most bytes of converted pixels held at once.
constexpr UINT kBandBytes = 1u << 20;

// One reference to a COM object, released by the owner.
template <typename T> class ComRef {
  public:
    ComRef() = default;
    ~ComRef() {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }
    T** put() { return &p_; }

  private:
    T* p_ = nullptr;
};

// COM on the calling thread for one decode: previews are made on the main
// thread and on the tree pane's, which may or may not have started it.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

} // namespace

bool DecodePngToBmp(const std::string& png, const PngHeader& header, std::string& bmp) {
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.out())))
        return false;
    ComRef<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(png.data())),
                                            static_cast<DWORD>(png.size()))))
        return false;
    // The PNG decoder itself, not whichever codec claims the bytes.
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return false;
    ComRef<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        width != header.width || height != header.height)
        return false;
    // Wine converts indexed pictures to 32-bit BGRA but not to 24-bit, so the
    // rows are packed into the 24-bit bitmap here.
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;

    std::string out = BlankBmp24(width, height);
    if (out.empty()) return false;
    // In bands of rows, so that no second full-size copy of a big picture is
    // held and a small one takes a single call.
    const UINT stride = width * 4;
    const UINT bandRows = std::min<UINT>(height, std::max<UINT>(1, kBandBytes / stride));
    std::vector<uint8_t> band(static_cast<size_t>(stride) * bandRows);
    for (UINT y = 0; y < height; y += bandRows) {
        const UINT rows = std::min(bandRows, height - y);
        WICRect rect = {0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(converter->CopyPixels(&rect, stride, stride * rows, band.data()))) return false;
        for (UINT r = 0; r < rows; ++r)
            PutBmp24Row(out, y + r, band.data() + static_cast<size_t>(r) * stride);
    }
    bmp.swap(out);
    return true;
}
