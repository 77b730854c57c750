# varnel_add_layer(NAME FOLDER DEPS ...): one static library from every .cpp of FOLDER.
# A folder without sources yet becomes an interface library, so layers can land one at a time.
function(varnel_add_layer name folder)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# varnel_add_test_suite(NAME FOLDER LIBS ...): one GoogleTest program from every .cpp of
# tests/FOLDER, registered with CTest test by test.
function(varnel_add_test_suite name folder)
    cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} varnel_test_support GTest::gtest_main GTest::gmock)
    if(NOT ARG_LABELS)
        set(ARG_LABELS unit)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "VARNEL_TEST_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()
