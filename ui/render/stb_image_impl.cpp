// The one translation unit that compiles stb_image's implementation. Only decoding from
// memory is used.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include <stb/stb_image.h>
