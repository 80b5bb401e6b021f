#include "platform/WorkingSet.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

namespace {

const long kPage = sysconf(_SC_PAGESIZE);
constexpr int kPages = 32;

// Whether the page at the address is mapped into the process now, not merely cached.
bool mapped(const char* address) {
    FILE* pagemap = std::fopen("/proc/self/pagemap", "rb");
    std::uint64_t entry = 0;
    const auto index =
        reinterpret_cast<std::uintptr_t>(address) / static_cast<std::uintptr_t>(kPage);
    const bool read = pagemap != nullptr &&
                      std::fseek(pagemap, static_cast<long>(index * sizeof entry), SEEK_SET) == 0 &&
                      std::fread(&entry, sizeof entry, 1, pagemap) == 1;
    if (pagemap != nullptr)
        std::fclose(pagemap);
    return read && (entry >> 63) != 0;
}

struct MappedFile {
    char* pages = nullptr;
    size_t size = static_cast<size_t>(kPages * kPage);

    MappedFile(QFile& file, int protection) {
        pages = static_cast<char*>(mmap(nullptr, size, protection, MAP_PRIVATE, file.handle(), 0));
    }
    ~MappedFile() { munmap(pages, size); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
};

// Pages read from a file are let go and read again on their next use; a page the process has
// written (as the loader writes a library's relocations before making them read-only) exists
// nowhere else and is kept.
TEST(WorkingSetTest, FilePagesAreLetGoAndWrittenPagesKept) {
    const QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("pages")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes(kPages * kPage, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    ASSERT_EQ(file.write(bytes), bytes.size());
    ASSERT_TRUE(file.flush());

    const MappedFile read(file, PROT_READ);
    const MappedFile written(file, PROT_READ | PROT_WRITE);
    ASSERT_NE(read.pages, MAP_FAILED);
    ASSERT_NE(written.pages, MAP_FAILED);
    long sum = 0;
    for (int page = 0; page < kPages; ++page)
        sum += read.pages[page * kPage];
    written.pages[0] = '!';
    ASSERT_EQ(mprotect(written.pages, written.size, PROT_READ), 0);
    ASSERT_TRUE(mapped(read.pages) && mapped(read.pages + (kPages - 1) * kPage)) << sum;

    EXPECT_GE(Platform::releaseUnusedFilePages(), kPages * kPage);
    for (int page = 0; page < kPages; ++page)
        EXPECT_FALSE(mapped(read.pages + page * kPage)) << "page " << page;
    EXPECT_EQ(QByteArray(read.pages, bytes.size()), bytes);
    EXPECT_EQ(written.pages[0], '!');
}

} // namespace
