#ifndef KRYPTANE_H
#define KRYPTANE_H

/* The cipher library's C interface. Names and keys are NUL-terminated 8-bit
 * strings; buffers are raw bytes owned by the caller. Every function may be
 * called from several threads at once. */

#if defined(_WIN32)
#if defined(KRYPTANE_BUILD)
#define KRYPTANE_API __declspec(dllexport)
#else
#define KRYPTANE_API __declspec(dllimport)
#endif
#else
#define KRYPTANE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Mode value that encrypts; every other value decrypts. */
#define KRYPTANE_ENCRYPT 1
#define KRYPTANE_DECRYPT 2

KRYPTANE_API int get_algorithm_count(void);

/* The highest row whose name begins with `name` (ASCII letters compared
 * without regard to case), or -1; a null or empty name gives -1. */
KRYPTANE_API int get_algorithm_index(const char* name);

/* The row's name, or null outside the table. */
KRYPTANE_API const char* get_algorithm_name(int index);

/* Block and key size in bytes (a stream cipher has block size 1); 0 outside
 * the table. */
KRYPTANE_API int get_encrypt_block_size(int index);
KRYPTANE_API int get_encrypt_key_size(int index);

/* The output size for `size` input bytes: a block cipher pads with zeros up
 * to a whole number of blocks. 0 outside the table, for a negative size, or
 * when the padded size does not fit into an int. */
KRYPTANE_API int calc_size_after_encrypt(int index, int size);

/* Encrypts (mode 1) or decrypts the input into the separate output buffer.
 * The key is cut or zero-filled to the row's key size. Block ciphers run
 * block by block (no chaining, no initialisation vector) over the zero-padded
 * input; stream ciphers run once over the whole buffer from a fresh key.
 * Returns the bytes written; -1 when input, output or key is null or the
 * length is not positive; 0 for an unknown algorithm or a too small output,
 * in which case the output is left untouched. */
KRYPTANE_API int encrypt_string(int mode, const char* algorithm, const char* key,
                                const unsigned char* input, int inputLength, unsigned char* output,
                                int outputCapacity);
KRYPTANE_API int encrypt_string2(int mode, int algorithm, const char* key,
                                 const unsigned char* input, int inputLength, unsigned char* output,
                                 int outputCapacity);

/* The message digest of the data as 32 lower-case hexadecimal characters,
 * NUL-terminated only when the capacity exceeds 32. Returns 32, or 0 when
 * the capacity is below 32 (nothing is written). */
KRYPTANE_API int md5_encrypt(const unsigned char* data, int length, char* output, int capacity);

#ifdef __cplusplus
}
#endif

#endif
