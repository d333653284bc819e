// Throughput of the payload codec's parts: AES-128-CBC both ways, Base64 both ways, MD5.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "service/aes.h"
#include "service/base64.h"
#include "service/md5.h"

namespace {

constexpr std::size_t kBufferSize = 16 * 1024;
constexpr unsigned char kKey[] = "0123456789abcdef";
constexpr unsigned char kIv[] = "fedcba9876543210";

std::vector<unsigned char> patternBytes(std::size_t size)
{
    std::vector<unsigned char> bytes(size);
    std::uint32_t state = 0x12345678;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

void setBytesProcessed(benchmark::State& state, std::size_t perIteration)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(perIteration));
}

// One keyed object for the whole run, as the chain carries over from buffer to buffer.
void aes128CbcEncrypt(benchmark::State& state)
{
    const std::vector<unsigned char> plain = patternBytes(kBufferSize);
    std::vector<unsigned char> cipher(kBufferSize);
    AES aes;
    aes.makeKey(kKey, kIv, 16, 16);
    for (auto _ : state) {
        aes.encrypt(plain.data(), cipher.data(), kBufferSize, AES::CBC);
        benchmark::DoNotOptimize(cipher.data());
    }
    setBytesProcessed(state, kBufferSize);
}
BENCHMARK(aes128CbcEncrypt);

void aes128CbcDecrypt(benchmark::State& state)
{
    const std::vector<unsigned char> cipher = patternBytes(kBufferSize);
    std::vector<unsigned char> plain(kBufferSize);
    AES aes;
    aes.makeKey(kKey, kIv, 16, 16);
    for (auto _ : state) {
        aes.decrypt(cipher.data(), plain.data(), kBufferSize, AES::CBC);
        benchmark::DoNotOptimize(plain.data());
    }
    setBytesProcessed(state, kBufferSize);
}
BENCHMARK(aes128CbcDecrypt);

void base64EncodeBuffer(benchmark::State& state)
{
    const std::vector<unsigned char> bytes = patternBytes(kBufferSize);
    for (auto _ : state) benchmark::DoNotOptimize(base64Encode(bytes.data(), bytes.size()));
    setBytesProcessed(state, kBufferSize);
}
BENCHMARK(base64EncodeBuffer);

void base64DecodeBuffer(benchmark::State& state)
{
    const std::vector<unsigned char> bytes = patternBytes(kBufferSize);
    const std::string text = base64Encode(bytes.data(), bytes.size());
    for (auto _ : state) benchmark::DoNotOptimize(base64Decode(text));
    setBytesProcessed(state, text.size());
}
BENCHMARK(base64DecodeBuffer);

void md5Buffer(benchmark::State& state)
{
    const std::vector<unsigned char> bytes = patternBytes(kBufferSize);
    const std::string text(bytes.begin(), bytes.end());
    for (auto _ : state) benchmark::DoNotOptimize(Md5Hasher(text).digest());
    setBytesProcessed(state, kBufferSize);
}
BENCHMARK(md5Buffer);

}  // namespace
