// The pages start-up touched in read-only segments are a large part of a Qt
// program's resident memory: the dynamic loader reads every library's symbol
// and relocation tables, and the kernel maps 64 KiB around each page read.
#include "startup_pages.h"

#ifdef __linux__

#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

namespace window {

namespace {

// The loader reports where things lie as integers.
template <typename T>
T* at(std::uintptr_t address) {
    return std::bit_cast<T*>(address);
}

bool underDebugger() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) {
            return std::stol(line.substr(std::strlen("TracerPid:"))) != 0;
        }
    }
    return false;
}

// A library with text relocations has its code patched by the loader: those
// pages are no longer the file's and must stay.
bool relocatesText(const dl_phdr_info& object) {
    for (int i = 0; i < object.dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = object.dlpi_phdr[i];
        if (header.p_type != PT_DYNAMIC) {
            continue;
        }
        const auto* entry = at<const ElfW(Dyn)>(object.dlpi_addr + header.p_vaddr);
        for (; entry->d_tag != DT_NULL; ++entry) {
            if (entry->d_tag == DT_TEXTREL ||
                (entry->d_tag == DT_FLAGS && (entry->d_un.d_val & DF_TEXTREL) != 0)) {
                return true;
            }
        }
    }
    return false;
}

int releaseObject(dl_phdr_info* object, std::size_t /*size*/, void* /*data*/) {
    // The vDSO is the kernel's, not a file's.
    if (object->dlpi_name != nullptr && std::strstr(object->dlpi_name, "linux-vdso") != nullptr) {
        return 0;
    }
    if (relocatesText(*object)) {
        return 0;
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    for (int i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = object->dlpi_phdr[i];
        // Writable segments hold relocated and live data (RELRO included,
        // which lies in a writable segment); a segment longer in memory than
        // in the file has zero-filled pages no file holds.
        if (header.p_type != PT_LOAD || (header.p_flags & PF_W) != 0 ||
            header.p_memsz != header.p_filesz) {
            continue;
        }
        // Whole pages inside the segment only, never a neighbour's.
        const std::uintptr_t start = (object->dlpi_addr + header.p_vaddr + page - 1) & ~(page - 1);
        const std::uintptr_t end = (object->dlpi_addr + header.p_vaddr + header.p_memsz) & ~(page - 1);
        if (end > start) {
            // A failure leaves the pages resident, which is harmless.
            madvise(at<void>(start), end - start, MADV_DONTNEED);
        }
    }
    return 0;
}

}  // namespace

void releaseStartupPages() {
    if (!underDebugger()) {
        dl_iterate_phdr(releaseObject, nullptr);
    }
}

}  // namespace window

#else

namespace window {

void releaseStartupPages() {}

}  // namespace window

#endif
