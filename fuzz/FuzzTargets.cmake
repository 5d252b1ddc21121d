# The fuzz targets: name, source in fuzz/ and the corpus folder under fuzz/corpus/ whose
# inputs it takes. The libFuzzer build (fuzz/CMakeLists.txt) and the corpus replay of the
# test run (tests/replay/CMakeLists.txt) both read this list.
set(TABRIX_FUZZ_TARGETS group_address project_reader clipboard_paste project_round_trip)

set(TABRIX_FUZZ_group_address_SOURCE GroupAddressFuzzer.cpp)
set(TABRIX_FUZZ_group_address_CORPUS group-address)
set(TABRIX_FUZZ_project_reader_SOURCE ProjectReaderFuzzer.cpp)
set(TABRIX_FUZZ_project_reader_CORPUS project)
set(TABRIX_FUZZ_clipboard_paste_SOURCE ClipboardPasteFuzzer.cpp)
set(TABRIX_FUZZ_clipboard_paste_CORPUS clipboard)
set(TABRIX_FUZZ_project_round_trip_SOURCE ProjectRoundTripFuzzer.cpp)
set(TABRIX_FUZZ_project_round_trip_CORPUS project)
