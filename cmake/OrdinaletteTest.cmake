# ordinalette_add_test(NAME <target> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per layer; every case is registered with ctest.
function(ordinalette_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ordinalette_test_support ordinalette_warnings)
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
