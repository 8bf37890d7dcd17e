// Arbitrary bytes as a language file: loading must never fail on content, and every lookup
// afterwards must answer.
#include "lang/lang_ini.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zephran::fuzzing::MemoryFile file(data, size);
    zephran::CLangIni store;
    store.SetPath(file.Path());
    if (!store.Load()) __builtin_trap();
    const std::string probe(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 16));
    (void)store.LangText(probe, probe);
    (void)store.LangText("", "");
    return 0;
}
