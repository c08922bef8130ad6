// The bitmap loader: any file is either a picture of a sane size or one of
// the two runtime errors, never a crash, a hang or a huge allocation.
#include "FuzzSupport.h"
#include "platform/Bitmap.h"
#include "rtl/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::MemoryFile file(fuzz::bytes(data, size));
    try {
        const QImage image = platform::loadBitmapFile(file.path());
        fuzz::check(!image.isNull(), "a loaded picture has pixels");
        fuzz::check(
            qint64(image.width()) * image.height() * image.depth() / 8 <= 256LL << 20, "a picture fits its limit");
    } catch (const rtl::EInvalidGraphic&) {
    } catch (const rtl::EFOpenError&) {
        fuzz::check(false, "the memory file opens");
    }
    return 0;
}
