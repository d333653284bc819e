// AES: the table-driven Rijndael block cipher (16-, 24- and 32-byte keys and blocks) with the
// chaining modes ECB, CBC and CFB over whole buffers. Portable; no platform headers.
#pragma once

#include <cstddef>
#include <cstdint>

class AES {
public:
    // Chaining modes; any other value passed as a mode behaves as ECB.
    enum Mode { ECB = 0, CBC = 1, CFB = 2 };

    // An uninitialised cipher: every operation except makeKey does nothing until a key is set.
    AES();
    virtual ~AES();

    // Expands key (keyLength bytes) and loads the chain from chain (blockLength bytes; a null
    // chain loads zeros). Lengths must each be 16, 24 or 32; with a null key or another length
    // nothing changes (a fresh object stays uninitialised). May be called again to re-key, which
    // also reloads the chain.
    void makeKey(const unsigned char* key, const unsigned char* chain, int keyLength = 16,
                 int blockLength = 16);

    // One block of the current block length from in to out; in and out may be the same buffer.
    void encryptBlock(const unsigned char* in, unsigned char* out);
    void decryptBlock(const unsigned char* in, unsigned char* out);

    // n bytes from in to out, a whole number of blocks, chained through the running chain, which
    // carries over to the next call. With n = 0, n not a multiple of the block length, or no key,
    // out is left untouched. in and out may be the same buffer.
    void encrypt(const unsigned char* in, unsigned char* out, std::size_t n, int mode = ECB);
    void decrypt(const unsigned char* in, unsigned char* out, std::size_t n, int mode = ECB);

    // target ^= source over one block of the current block length.
    void xorBlock(unsigned char* target, const unsigned char* source) const;

private:
    static constexpr int kMaxRounds = 14;
    static constexpr int kMaxBlockWords = 8;
    static constexpr int kMaxBlockBytes = 4 * kMaxBlockWords;

    using RoundKeys = std::uint32_t[kMaxRounds + 1][kMaxBlockWords];

    void expandKey(const unsigned char* key);
    void prepareDecryptionKeys();
    void encryptBlock16(const unsigned char* in, unsigned char* out) const;
    void decryptBlock16(const unsigned char* in, unsigned char* out) const;
    void encryptBlockGeneral(const unsigned char* in, unsigned char* out);
    void decryptBlockGeneral(const unsigned char* in, unsigned char* out);
    bool acceptsLength(std::size_t n) const;

    bool initialised_ = false;
    RoundKeys encryptionKeys_ = {};
    RoundKeys decryptionKeys_ = {};
    int keyLength_ = 0;
    int blockLength_ = 0;
    int rounds_ = 0;
    unsigned char initialChain_[kMaxBlockBytes] = {};
    unsigned char chain_[kMaxBlockBytes] = {};
    std::uint32_t keyWords_[8] = {};           // scratch for the key expansion
    std::uint32_t work_[kMaxBlockWords] = {};  // state scratch for 24- and 32-byte blocks
    std::uint32_t work2_[kMaxBlockWords] = {};
};
