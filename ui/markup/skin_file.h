// LoadSkinFile: a skin file read from where the process-wide resource settings say (the
// resource folder, or the skin archive) and parsed into a markup document. Windows side of the
// markup reader: the reader itself only sees bytes.
#pragma once

#include "ui/markup/skin_markup.h"

#include <string>

namespace SkinUI {

// Loads the skin file `name` into `markup` (the previous document is released first). Without
// a skin archive the file is the resource folder followed by `name`; with one it is the entry
// `name` of the archive, letter case ignored. Files and entries of more than kMaxSkinFileSize
// bytes are refused unread. Returns whether a document is held; on failure the markup's
// ParseError holds the load or parse error text.
bool LoadSkinFile(CSkinMarkup& markup, const std::wstring& name,
                  SkinEncoding encoding = SkinEncoding::Utf8);

}  // namespace SkinUI
