/* Build settings of the vendored libFLAC decoder (in place of the config.h its own build would
 * generate): a little-endian x86-64 or x86 target, no Ogg, no assembly or intrinsics (the clips
 * are short; plain C decodes them to the same samples). */
#define CPU_IS_BIG_ENDIAN 0
#define CPU_IS_LITTLE_ENDIAN 1
#define WORDS_BIGENDIAN 0
#define ENABLE_64_BIT_WORDS 1
#define FLAC__HAS_OGG 0
#define OGG_FOUND 0
#define FLAC__HAS_X86INTRIN 0
#define FLAC__HAS_NEONINTRIN 0
#define FLAC__HAS_A64NEONINTRIN 0
#define FLAC__NO_ASM 1
#define HAVE_LROUND 1
#define HAVE_INTTYPES_H 1
#define HAVE_STDINT_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_SYS_STAT_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_FSEEKO 1
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#define PACKAGE_VERSION "1.5.0"
