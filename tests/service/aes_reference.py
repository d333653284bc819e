#!/usr/bin/env python3
"""Byte-wise Rijndael reference (any key and block length of 16, 24 or 32 bytes).

Written straight from the cipher's definition (field arithmetic, SubBytes, ShiftRows,
MixColumns, AddRoundKey, key expansion), with none of the table tricks of service/aes.cpp,
so it is an independent check of the C++ tables and the 24/32-byte block path. It first
verifies itself on the published AES-128/192/256 known answers, then prints the vectors
used by aes_test.cpp:   python3 tests/service/aes_reference.py
"""


def xtime(a):
    a <<= 1
    return (a ^ 0x11B) if a & 0x100 else a


def mul(a, b):
    product = 0
    while b:
        if b & 1:
            product ^= a
        a = xtime(a)
        b >>= 1
    return product


def inverse(a):
    return next((b for b in range(1, 256) if mul(a, b) == 1), 0)


def affine(b):
    result = 0x63
    for shift in range(5):
        result ^= ((b << shift) | (b >> (8 - shift))) & 0xFF
    return result


SBOX = [affine(inverse(x)) for x in range(256)]
INV_SBOX = [SBOX.index(x) for x in range(256)]
SHIFTS = {4: (0, 1, 2, 3), 6: (0, 1, 2, 3), 8: (0, 1, 3, 4)}


def key_schedule(key, nb):
    nk = len(key) // 4
    rounds = max(nk, nb) + 6
    words = [list(key[4 * i:4 * i + 4]) for i in range(nk)]
    rcon = 1
    for i in range(nk, nb * (rounds + 1)):
        temp = list(words[i - 1])
        if i % nk == 0:
            temp = [SBOX[b] for b in temp[1:] + temp[:1]]
            temp[0] ^= rcon
            rcon = xtime(rcon)
        elif nk > 6 and i % nk == 4:
            temp = [SBOX[b] for b in temp]
        words.append([a ^ b for a, b in zip(words[i - nk], temp)])
    return rounds, [words[r * nb:(r + 1) * nb] for r in range(rounds + 1)]


def add_round_key(state, round_key):
    return [[a ^ b for a, b in zip(col, kcol)] for col, kcol in zip(state, round_key)]


def shift_rows(state, inverse_direction=False):
    nb = len(state)
    sign = -1 if inverse_direction else 1
    return [[state[(c + sign * SHIFTS[nb][r]) % nb][r] for r in range(4)] for c in range(nb)]


def mix_column(col, coefficients):
    return [
        mul(coefficients[0], col[r]) ^ mul(coefficients[1], col[(r + 1) % 4]) ^
        mul(coefficients[2], col[(r + 2) % 4]) ^ mul(coefficients[3], col[(r + 3) % 4])
        for r in range(4)
    ]


def encrypt_block(key, block):
    nb = len(block) // 4
    rounds, keys = key_schedule(key, nb)
    state = add_round_key([list(block[4 * c:4 * c + 4]) for c in range(nb)], keys[0])
    for r in range(1, rounds + 1):
        state = shift_rows([[SBOX[b] for b in col] for col in state])
        if r != rounds:
            state = [mix_column(col, (2, 3, 1, 1)) for col in state]
        state = add_round_key(state, keys[r])
    return bytes(b for col in state for b in col)


def decrypt_block(key, block):
    nb = len(block) // 4
    rounds, keys = key_schedule(key, nb)
    state = add_round_key([list(block[4 * c:4 * c + 4]) for c in range(nb)], keys[rounds])
    for r in range(rounds - 1, -1, -1):
        state = shift_rows(state, inverse_direction=True)
        state = add_round_key([[INV_SBOX[b] for b in col] for col in state], keys[r])
        if r != 0:
            state = [mix_column(col, (14, 11, 13, 9)) for col in state]
    return bytes(b for col in state for b in col)


def self_check():
    plain = bytes.fromhex("00112233445566778899aabbccddeeff")
    known = {
        16: "69c4e0d86a7b0430d8cdb78070b4c55a",
        24: "dda97ca4864cdfe06eaf70a0ec0d7191",
        32: "8ea2b7ca516745bfeafc49904b496089",
    }
    for key_length, expected in known.items():
        key = bytes(range(key_length))
        assert encrypt_block(key, plain).hex() == expected, key_length
        assert decrypt_block(key, bytes.fromhex(expected)) == plain, key_length


def main():
    self_check()
    for block_length in (16, 24, 32):
        for key_length in (16, 24, 32):
            key = bytes(range(key_length))
            plain = bytes((0x11 * i + 0x80) & 0xFF for i in range(block_length))
            cipher = encrypt_block(key, plain)
            assert decrypt_block(key, cipher) == plain
            print(f"key {key_length} block {block_length}: plain {plain.hex()} cipher {cipher.hex()}")


if __name__ == "__main__":
    main()
