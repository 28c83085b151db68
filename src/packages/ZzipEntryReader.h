#pragma once

// zziplib's entry reader (zzip/fseeko.h), reached through a C file of ours because that header
// cannot be included from C++. It reads through a stdio stream: it finds the central directory
// at the stream's end, takes its first record, and decodes that entry (stored or deflated).

#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct zzip_entry ZZIP_ENTRY;
typedef struct zzip_entry_file ZZIP_ENTRY_FILE;

// The first record of the central directory of the archive the stream holds; null when zziplib
// finds none.
ZZIP_ENTRY* FindFirstZzipRecord(FILE* archive);
// Opens the record's entry for reading; it takes the record over (also when it fails, returning
// null).
ZZIP_ENTRY_FILE* OpenZzipRecord(ZZIP_ENTRY* record);
// Up to `size` bytes of the entry's data; 0 at its end or on an error (see ZzipEntryAtEnd).
size_t ReadZzipEntry(ZZIP_ENTRY_FILE* entry, void* buffer, size_t size);
// Whether every byte the entry's header announces was delivered.
int ZzipEntryAtEnd(ZZIP_ENTRY_FILE* entry);
void CloseZzipEntry(ZZIP_ENTRY_FILE* entry);

#ifdef __cplusplus
}
#endif
