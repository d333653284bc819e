// The skin archive of windows whose skins live in a "ZIPRES" resource of the program.
#pragma once

#include "ui/render/resource_files.h"

#include <string>

namespace SkinUI {

// Makes the "ZIPRES" resource `resourceId` of the resource module the process's skin archive.
// The first call that finds the resource copies it into a buffer that lives as long as the
// process (the archive kept open by the resource settings reads from it); later calls hand
// that same buffer over again and copy nothing, whatever id they name. Returns the buffer, or
// null when the resource is missing, cannot be loaded or is empty.
const Bytes* UseSkinArchiveResource(const std::wstring& resourceId);

}  // namespace SkinUI
