// libFuzzer target for CXmlDoc: loading (byte-order marks, declared encodings), parsing,
// walking, editing and saving hostile input. Built and run by fuzz/run-xml-fuzzer.sh.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "fuzz/xml_doc_exercise.h"

namespace {

std::wstring ScratchPath() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", error)
                                             ? std::filesystem::path("/dev/shm")
                                             : std::filesystem::temp_directory_path();
    return (folder / ("xml_doc_fuzzer_" + std::to_string(getpid()) + ".xml")).wstring();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::wstring scratch = ScratchPath();
    if (!tavik::fuzz::ExerciseXmlDoc(data, size, scratch)) {
        std::abort();
    }
    return 0;
}
