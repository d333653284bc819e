// The skin archive resource; see skin_archive_resource.h.
#include "ui/window/skin_archive_resource.h"

#include "ui/render/resource_settings.h"

#include <optional>

namespace SkinUI {

const Bytes* UseSkinArchiveResource(const std::wstring& resourceId)
{
    // Never freed: the open memory archive reads from it until the process ends.
    static Bytes* buffer = nullptr;
    if (!buffer) {
        std::optional<Bytes> resource = ReadProgramResource(resourceId, L"ZIPRES");
        if (!resource || resource->empty()) return nullptr;
        buffer = new Bytes(std::move(*resource));
    }
    SetSkinArchive(buffer->data(), static_cast<unsigned>(buffer->size()));
    return buffer;
}

}  // namespace SkinUI
