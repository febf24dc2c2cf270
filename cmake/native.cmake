# Native Linux build: the core with its unit tests, optionally under ASan/UBSan, and the benchmarks.
option(WW_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(WW_SANITIZE)
    set(WW_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${WW_SAN_FLAGS})
    add_link_options(${WW_SAN_FLAGS})
    # Options added after targets were declared do not reach them; set them on the targets, too.
    target_compile_options(wortwerk_core PRIVATE ${WW_SAN_FLAGS})
    target_compile_options(gtest PRIVATE ${WW_SAN_FLAGS})
    target_compile_options(gtest_main PRIVATE ${WW_SAN_FLAGS})
endif()

file(GLOB WW_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
add_executable(unit_tests ${WW_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE wortwerk_core gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

file(GLOB WW_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(src ${WW_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} EXCLUDE_FROM_ALL ${src}) # built on demand: cmake --build DIR --target NAME
    target_link_libraries(${name} PRIVATE wortwerk_core)
endforeach()

# One checked-in style for every C++ file of the project.
find_program(CLANG_FORMAT clang-format)
if(CLANG_FORMAT)
    file(GLOB_RECURSE WW_FORMATTED CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h
         ${CMAKE_SOURCE_DIR}/tests/*.cpp ${CMAKE_SOURCE_DIR}/tests/*.h ${CMAKE_SOURCE_DIR}/bench/*.cpp
         ${CMAKE_SOURCE_DIR}/fuzz/*.cpp ${CMAKE_SOURCE_DIR}/fuzz/*.h)
    add_test(NAME clang_format COMMAND ${CLANG_FORMAT} --dry-run --Werror ${WW_FORMATTED})
endif()
