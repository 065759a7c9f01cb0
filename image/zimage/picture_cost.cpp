#include "image/zimage/picture_cost.h"

#include "image/dib.h"

bool picture_affordable(const PictureScan& s, uint64_t input_bytes) {
    const uint64_t pixels = uint64_t{s.width} * s.height;
    if (pixels > kMaxDecodePixels || s.decode_pixels > kMaxDecodePixels) return false;
    if (s.piece_bytes > kMaxPieceBytes) return false;
    if (s.scans > kMaxJpegScans || uint64_t{s.scans} * pixels > kMaxDecodeWork) return false;
    if (s.compressed_chunks > kMaxCompressedChunks || s.largest_compressed > kMaxChunkCompressed ||
        s.largest_inflated > kMaxChunkInflated || s.inflated_total > kMaxInflatedTotal)
        return false;
    // Each term is bounded above, so the sum cannot wrap.
    return input_bytes <= kDecodeBudgetBytes && s.decoder_bytes <= kDecodeBudgetBytes &&
           input_bytes + s.decoder_bytes + s.inflated_total <= kDecodeBudgetBytes;
}
