#include "image/zimage/picture_input.h"

#include "image/zimage/picture_cost.h"
#include "image/zimage/spi_codes.h"

int read_picture_input(ByteSource& src, int64_t offset, PixelBlock* bytes) {
    const uint64_t size = src.size();
    if (offset < 0 || static_cast<uint64_t>(offset) >= size) return kSpiReadError;
    const uint64_t n = size - static_cast<uint64_t>(offset);
    if (n > kMaxPictureInput) return kSpiNoMemory;
    if (!bytes->allocate(static_cast<size_t>(n))) return kSpiNoMemory;
    if (src.read_at(static_cast<uint64_t>(offset), bytes->data(), bytes->size()) != bytes->size()) {
        bytes->reset();
        return kSpiReadError;
    }
    return kSpiOk;
}

int check_picture_input(const uint8_t* data, size_t n, PictureFormat* format, PictureRows* rows,
                        PictureScan* scan_out) {
    *format = sniff_picture_format(data, n);
    if (*format == PictureFormat::kNone) return kSpiUnknownFormat;
    PictureScan local;
    PictureScan& scan = scan_out ? *scan_out : local;
    if (!scan_picture(*format, data, n, &scan)) return kSpiBrokenData;
    if (!picture_affordable(scan, n)) return kSpiNoMemory;
    return plan_picture_rows(scan.width, scan.height, rows) ? kSpiOk : kSpiNoMemory;
}
