#pragma once
// Reading and writing picture files, the format chosen by the name's extension.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workspace/bitmap.h"
#include "workspace/image_errors.h"
#include "workspace/jpeg_file.h"

namespace vimbrel {

// Reads a .bmp, .jpg, .jpeg or .png file (any letter case) into a new picture; nullopt for
// any other name, with nothing read. The options concern JPEG files only. The caller's own picture is never touched: it takes the
// result only when this returns. Throws EInvalidGraphic for anything that is not a
// readable picture and EInOutError when the file cannot be opened.
std::optional<Bitmap> LoadImageFile(const std::string& path, const JpegReadOptions& options = {});

// Writes a bitmap file at the picture's own depth when the extension is ".bmp" (any case),
// a PNG file for ".png", JPEG for every other name. The file is written under a temporary name beside it and
// replaces an existing one only when complete. Throws EInOutError.
void WriteImageFile(const Bitmap& source, const std::string& path);

// Whole-file helpers; EInOutError on failure. Files larger than any picture we could
// hold are refused with EInvalidGraphic without being read.
std::vector<std::uint8_t> ReadImageFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vimbrel
