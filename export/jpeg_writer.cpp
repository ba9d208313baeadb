#include "export/jpeg_writer.h"

#include <cerrno>
#include <csetjmp>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "core/atomic_file.h"

namespace orv {

namespace {

// The library's standard error manager, with error_exit jumping back to the
// writer instead of ending the process.
struct ErrorTrap {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
};

[[noreturn]] void JumpBack(j_common_ptr cinfo)
{
    // manager is the first member, so the error pointer is the trap itself.
    auto *trap = reinterpret_cast<ErrorTrap *>(cinfo->err);
    std::longjmp(trap->jump, 1);
}

// Owns the compression object; destroying a zeroed or half-created object is safe.
class CompressObject {
public:
    explicit CompressObject(ErrorTrap &trap)
    {
        cinfo_.err = jpeg_std_error(&trap.manager);
        trap.manager.error_exit = &JumpBack;
    }
    ~CompressObject() { jpeg_destroy_compress(&cinfo_); }
    CompressObject(const CompressObject &) = delete;
    CompressObject &operator=(const CompressObject &) = delete;

    j_compress_ptr get() { return &cinfo_; }

private:
    jpeg_compress_struct cinfo_{};
};

// Everything after setjmp only calls the library and writes memory that
// outlives the jump, so no destructor is skipped and no local is clobbered.
int Compress(j_compress_ptr cinfo, std::jmp_buf &jump, std::FILE *out, int quality, JpegChroma chroma,
             int width, int height, const std::uint8_t *rows, std::size_t stride, JSAMPLE *line)
{
    if (setjmp(jump))
        return -1;
    jpeg_create_compress(cinfo);
    cinfo->image_width = static_cast<JDIMENSION>(width);
    cinfo->image_height = static_cast<JDIMENSION>(height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_stdio_dest(cinfo, out);
    jpeg_set_quality(cinfo, quality, TRUE);
    if (chroma == JpegChroma::Full) {
        // Every component at the luminance's resolution (4:4:4).
        for (int c = 0; c < cinfo->num_components; ++c) {
            cinfo->comp_info[c].h_samp_factor = 1;
            cinfo->comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        // The buffer runs bottom-up: the top of the image is its last row.
        const std::uint8_t *src =
            rows + static_cast<std::size_t>(cinfo->image_height - 1 - cinfo->next_scanline) * stride;
        for (int x = 0; x < width; ++x) {
            line[3 * x] = src[3 * x + 2];
            line[3 * x + 1] = src[3 * x + 1];
            line[3 * x + 2] = src[3 * x];
        }
        JSAMPROW row = line;
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return 0;
}

}  // namespace

std::size_t PaddedRowBytes(int width)
{
    if (width <= 0)
        return 0;
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

int JpegWriteStream(std::FILE *out, int quality, int width, int height,
                    std::span<const std::uint8_t> rows, JpegChroma chroma)
{
    if (!out || width <= 0 || height <= 0)
        return -1;
    const std::size_t stride = PaddedRowBytes(width);
    if (static_cast<std::size_t>(height) > rows.size() / stride)
        return -1;
    std::vector<JSAMPLE> line(static_cast<std::size_t>(width) * 3);
    ErrorTrap trap;
    CompressObject compress(trap);
    return Compress(compress.get(), trap.jump, out, quality, chroma, width, height, rows.data(), stride,
                    line.data());
}

int JpegWriter(const QString &path, int quality, int width, int height,
               std::span<const std::uint8_t> rows, QString *reason, JpegChroma chroma)
{
    AtomicFile file(path);
    std::FILE *out = file.open() ? file.stream() : nullptr;
    bool ok = out != nullptr;
    if (ok && JpegWriteStream(out, quality, width, height, rows, chroma) != 0) {
        // The temporary goes with file.
        if (std::ferror(out))
            file.failFromErrno("write failed");
        else
            errno = EINVAL;  // the arguments did not describe the pixels
        file.failFromErrno("cannot encode JPEG");
        ok = false;
    }
    ok = ok && file.commit();
    if (!ok && reason)
        *reason = file.reason().isEmpty() ? SystemReason(EIO) : file.reason();
    return ok ? 0 : -1;
}

}  // namespace orv
