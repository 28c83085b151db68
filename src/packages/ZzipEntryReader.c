#include "packages/ZzipEntryReader.h"

#include <zzip/fseeko.h>

ZZIP_ENTRY* FindFirstZzipRecord(FILE* archive) {
    return zzip_entry_findfirst(archive);
}

ZZIP_ENTRY_FILE* OpenZzipRecord(ZZIP_ENTRY* record) {
    /* Handed over: the opened entry owns the record and frees it when closed. */
    return zzip_entry_fopen(record, 1);
}

size_t ReadZzipEntry(ZZIP_ENTRY_FILE* entry, void* buffer, size_t size) {
    return zzip_entry_fread(buffer, 1, size, entry);
}

int ZzipEntryAtEnd(ZZIP_ENTRY_FILE* entry) {
    return zzip_entry_feof(entry);
}

void CloseZzipEntry(ZZIP_ENTRY_FILE* entry) {
    zzip_entry_fclose(entry);
}
