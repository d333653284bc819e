// The one translation unit that compiles stb_image's implementation. Only decoding from
// memory is used, and only the formats the render engine promises (PNG, JPEG, BMP, GIF, PSD,
// PNM, 8 bits per channel): the others and the floating-point conversions would only add to
// the program users download.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_TGA
#define STBI_NO_HDR
#define STBI_NO_PIC
#define STBI_NO_LINEAR
#include <stb/stb_image.h>
