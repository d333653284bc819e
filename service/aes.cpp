// AES: key schedule, the 16-byte fast path, the general 24/32-byte block path and the modes.
#include "service/aes.h"

#include <cstring>

#include "service/aes_tables.h"

using namespace aes_tables;

namespace {

std::uint32_t loadBigEndian(const unsigned char* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

void storeBigEndian(std::uint32_t word, unsigned char* bytes)
{
    bytes[0] = static_cast<unsigned char>(word >> 24);
    bytes[1] = static_cast<unsigned char>(word >> 16);
    bytes[2] = static_cast<unsigned char>(word >> 8);
    bytes[3] = static_cast<unsigned char>(word);
}

constexpr std::uint32_t byteAt(std::uint32_t word, int shift)
{
    return (word >> shift) & 0xff;
}

std::uint32_t subWord(std::uint32_t word)
{
    return packWord(kSBox[byteAt(word, 24)], kSBox[byteAt(word, 16)], kSBox[byteAt(word, 8)],
                    kSBox[byteAt(word, 0)]);
}

// One full encryption round column: row k's byte comes from column (j + shift k).
std::uint32_t encryptionColumn(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return kTe0[byteAt(a, 24)] ^ kTe1[byteAt(b, 16)] ^ kTe2[byteAt(c, 8)] ^ kTe3[byteAt(d, 0)];
}

std::uint32_t decryptionColumn(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return kTd0[byteAt(a, 24)] ^ kTd1[byteAt(b, 16)] ^ kTd2[byteAt(c, 8)] ^ kTd3[byteAt(d, 0)];
}

std::uint32_t finalColumn(const ByteTable& box, std::uint32_t a, std::uint32_t b, std::uint32_t c,
                          std::uint32_t d)
{
    return packWord(box[byteAt(a, 24)], box[byteAt(b, 16)], box[byteAt(c, 8)], box[byteAt(d, 0)]);
}

std::uint32_t inverseMixKeyWord(std::uint32_t word)
{
    return kU0[byteAt(word, 24)] ^ kU1[byteAt(word, 16)] ^ kU2[byteAt(word, 8)] ^
           kU3[byteAt(word, 0)];
}

bool isSupportedLength(int length)
{
    return length == 16 || length == 24 || length == 32;
}

}  // namespace

AES::AES() = default;

AES::~AES() = default;

void AES::makeKey(const unsigned char* key, const unsigned char* chain, int keyLength,
                  int blockLength)
{
    if (key == nullptr) return;
    if (!isSupportedLength(keyLength) || !isSupportedLength(blockLength)) return;

    keyLength_ = keyLength;
    blockLength_ = blockLength;
    std::memset(initialChain_, 0, sizeof initialChain_);
    if (chain != nullptr) std::memcpy(initialChain_, chain, static_cast<std::size_t>(blockLength));
    std::memcpy(chain_, initialChain_, sizeof chain_);

    if (keyLength == 16 && blockLength == 16) {
        rounds_ = 10;
    } else {
        rounds_ = 6 + (keyLength > blockLength ? keyLength : blockLength) / 4;
    }

    std::memset(encryptionKeys_, 0, sizeof encryptionKeys_);
    std::memset(decryptionKeys_, 0, sizeof decryptionKeys_);
    expandKey(key);
    prepareDecryptionKeys();
    initialised_ = true;
}

// The Rijndael key schedule, run in a rolling window of key length / 4 words: each pass derives
// the next window from the previous one, and the words are dealt out row by row (block length / 4
// words per row) until every round has its key.
void AES::expandKey(const unsigned char* key)
{
    const int keyWordCount = keyLength_ / 4;
    const int blockWords = blockLength_ / 4;
    const int totalWords = (rounds_ + 1) * blockWords;
    for (int i = 0; i < keyWordCount; ++i) keyWords_[i] = loadBigEndian(key + 4 * i);

    int produced = 0;
    int roundConstant = 0;
    for (;;) {
        for (int i = 0; i < keyWordCount && produced < totalWords; ++i, ++produced) {
            const int row = produced / blockWords;
            const int column = produced % blockWords;
            encryptionKeys_[row][column] = keyWords_[i];
            decryptionKeys_[rounds_ - row][column] = keyWords_[i];
        }
        if (produced >= totalWords) return;

        const std::uint32_t last = keyWords_[keyWordCount - 1];
        keyWords_[0] ^= subWord((last << 8) | (last >> 24)) ^
                        (std::uint32_t{kRoundConstants[roundConstant++]} << 24);
        if (keyWordCount != 8) {
            for (int i = 1; i < keyWordCount; ++i) keyWords_[i] ^= keyWords_[i - 1];
            continue;
        }
        // 8-word keys pass the middle word through the S-box as well.
        for (int i = 1; i < 4; ++i) keyWords_[i] ^= keyWords_[i - 1];
        keyWords_[4] ^= subWord(keyWords_[3]);
        for (int i = 5; i < 8; ++i) keyWords_[i] ^= keyWords_[i - 1];
    }
}

// Equivalent inverse cipher: the inner round keys go through InvMixColumns once here, so that
// decryption rounds have the same shape and cost as encryption rounds.
void AES::prepareDecryptionKeys()
{
    const int blockWords = blockLength_ / 4;
    for (int row = 1; row < rounds_; ++row) {
        for (int column = 0; column < blockWords; ++column) {
            decryptionKeys_[row][column] = inverseMixKeyWord(decryptionKeys_[row][column]);
        }
    }
}

void AES::encryptBlock(const unsigned char* in, unsigned char* out)
{
    if (!initialised_) return;
    if (blockLength_ == 16) {
        encryptBlock16(in, out);
    } else {
        encryptBlockGeneral(in, out);
    }
}

void AES::decryptBlock(const unsigned char* in, unsigned char* out)
{
    if (!initialised_) return;
    if (blockLength_ == 16) {
        decryptBlock16(in, out);
    } else {
        decryptBlockGeneral(in, out);
    }
}

void AES::encryptBlock16(const unsigned char* in, unsigned char* out) const
{
    const std::uint32_t* key = encryptionKeys_[0];
    std::uint32_t s0 = loadBigEndian(in) ^ key[0];
    std::uint32_t s1 = loadBigEndian(in + 4) ^ key[1];
    std::uint32_t s2 = loadBigEndian(in + 8) ^ key[2];
    std::uint32_t s3 = loadBigEndian(in + 12) ^ key[3];
    for (int round = 1; round < rounds_; ++round) {
        key = encryptionKeys_[round];
        const std::uint32_t t0 = encryptionColumn(s0, s1, s2, s3) ^ key[0];
        const std::uint32_t t1 = encryptionColumn(s1, s2, s3, s0) ^ key[1];
        const std::uint32_t t2 = encryptionColumn(s2, s3, s0, s1) ^ key[2];
        const std::uint32_t t3 = encryptionColumn(s3, s0, s1, s2) ^ key[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    key = encryptionKeys_[rounds_];
    storeBigEndian(finalColumn(kSBox, s0, s1, s2, s3) ^ key[0], out);
    storeBigEndian(finalColumn(kSBox, s1, s2, s3, s0) ^ key[1], out + 4);
    storeBigEndian(finalColumn(kSBox, s2, s3, s0, s1) ^ key[2], out + 8);
    storeBigEndian(finalColumn(kSBox, s3, s0, s1, s2) ^ key[3], out + 12);
}

void AES::decryptBlock16(const unsigned char* in, unsigned char* out) const
{
    const std::uint32_t* key = decryptionKeys_[0];
    std::uint32_t s0 = loadBigEndian(in) ^ key[0];
    std::uint32_t s1 = loadBigEndian(in + 4) ^ key[1];
    std::uint32_t s2 = loadBigEndian(in + 8) ^ key[2];
    std::uint32_t s3 = loadBigEndian(in + 12) ^ key[3];
    for (int round = 1; round < rounds_; ++round) {
        key = decryptionKeys_[round];
        const std::uint32_t t0 = decryptionColumn(s0, s3, s2, s1) ^ key[0];
        const std::uint32_t t1 = decryptionColumn(s1, s0, s3, s2) ^ key[1];
        const std::uint32_t t2 = decryptionColumn(s2, s1, s0, s3) ^ key[2];
        const std::uint32_t t3 = decryptionColumn(s3, s2, s1, s0) ^ key[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    key = decryptionKeys_[rounds_];
    storeBigEndian(finalColumn(kInverseSBox, s0, s3, s2, s1) ^ key[0], out);
    storeBigEndian(finalColumn(kInverseSBox, s1, s0, s3, s2) ^ key[1], out + 4);
    storeBigEndian(finalColumn(kInverseSBox, s2, s1, s0, s3) ^ key[2], out + 8);
    storeBigEndian(finalColumn(kInverseSBox, s3, s2, s1, s0) ^ key[3], out + 12);
}

// 24- and 32-byte blocks: the same rounds with the row shifts of the block length. work_ holds
// the state, work2_ the next state.
void AES::encryptBlockGeneral(const unsigned char* in, unsigned char* out)
{
    const int blockWords = blockLength_ / 4;
    const int* shift = kShiftOffsets[(blockWords - 4) / 2];
    // Row r of new column j comes from column j + shift of row r.
    auto from = [&](int column, int row) { return work_[(column + shift[row - 1]) % blockWords]; };

    for (int j = 0; j < blockWords; ++j)
        work_[j] = loadBigEndian(in + 4 * j) ^ encryptionKeys_[0][j];
    for (int round = 1; round < rounds_; ++round) {
        const std::uint32_t* key = encryptionKeys_[round];
        for (int j = 0; j < blockWords; ++j) {
            work2_[j] = encryptionColumn(work_[j], from(j, 1), from(j, 2), from(j, 3)) ^ key[j];
        }
        std::memcpy(work_, work2_, sizeof work_);
    }
    const std::uint32_t* key = encryptionKeys_[rounds_];
    for (int j = 0; j < blockWords; ++j) {
        storeBigEndian(finalColumn(kSBox, work_[j], from(j, 1), from(j, 2), from(j, 3)) ^ key[j],
                       out + 4 * j);
    }
}

void AES::decryptBlockGeneral(const unsigned char* in, unsigned char* out)
{
    const int blockWords = blockLength_ / 4;
    const int* shift = kShiftOffsets[(blockWords - 4) / 2];
    // The inverse shift moves rows right: row r of new column j comes from column j - shift.
    auto from = [&](int column, int row) {
        return work_[(column + blockWords - shift[row - 1]) % blockWords];
    };

    for (int j = 0; j < blockWords; ++j)
        work_[j] = loadBigEndian(in + 4 * j) ^ decryptionKeys_[0][j];
    for (int round = 1; round < rounds_; ++round) {
        const std::uint32_t* key = decryptionKeys_[round];
        for (int j = 0; j < blockWords; ++j) {
            work2_[j] = decryptionColumn(work_[j], from(j, 1), from(j, 2), from(j, 3)) ^ key[j];
        }
        std::memcpy(work_, work2_, sizeof work_);
    }
    const std::uint32_t* key = decryptionKeys_[rounds_];
    for (int j = 0; j < blockWords; ++j) {
        const std::uint32_t word =
            finalColumn(kInverseSBox, work_[j], from(j, 1), from(j, 2), from(j, 3));
        storeBigEndian(word ^ key[j], out + 4 * j);
    }
}

bool AES::acceptsLength(std::size_t n) const
{
    return initialised_ && n != 0 && n % static_cast<std::size_t>(blockLength_) == 0;
}

void AES::encrypt(const unsigned char* in, unsigned char* out, std::size_t n, int mode)
{
    if (!acceptsLength(n)) return;
    const std::size_t block = static_cast<std::size_t>(blockLength_);
    for (std::size_t offset = 0; offset < n; offset += block) {
        switch (mode) {
        case CBC:
            xorBlock(chain_, in + offset);
            encryptBlock(chain_, chain_);
            std::memcpy(out + offset, chain_, block);
            break;
        case CFB:
            encryptBlock(chain_, chain_);
            xorBlock(chain_, in + offset);
            std::memcpy(out + offset, chain_, block);
            break;
        default: encryptBlock(in + offset, out + offset); break;
        }
    }
}

void AES::decrypt(const unsigned char* in, unsigned char* out, std::size_t n, int mode)
{
    if (!acceptsLength(n)) return;
    const std::size_t block = static_cast<std::size_t>(blockLength_);
    // The ciphertext block becomes the next chain; it is copied first because out may be in.
    unsigned char cipherBlock[kMaxBlockBytes];
    for (std::size_t offset = 0; offset < n; offset += block) {
        switch (mode) {
        case CBC:
            std::memcpy(cipherBlock, in + offset, block);
            decryptBlock(cipherBlock, out + offset);
            xorBlock(out + offset, chain_);
            std::memcpy(chain_, cipherBlock, block);
            break;
        case CFB:
            std::memcpy(cipherBlock, in + offset, block);
            encryptBlock(chain_, chain_);
            xorBlock(chain_, cipherBlock);
            std::memcpy(out + offset, chain_, block);
            std::memcpy(chain_, cipherBlock, block);
            break;
        default: decryptBlock(in + offset, out + offset); break;
        }
    }
}

void AES::xorBlock(unsigned char* target, const unsigned char* source) const
{
    if (!initialised_) return;
    for (int i = 0; i < blockLength_; ++i) target[i] ^= source[i];
}
