# merchdesk_add_test(<name> SOURCES <files...> LIBS <targets...> [DATABASE])
#
# One Qt Test executable per test class, run by CTest offscreen with a UTF-8 locale.
# DATABASE marks tests that touch the database: they carry the label "db" so that the
# test script can run them a second time against the shared PostgreSQL server.
function(merchdesk_add_test name)
    cmake_parse_arguments(T "DATABASE" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set(labels unit)
    if(T_DATABASE)
        set(labels db)
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "${labels}"
        TIMEOUT 600
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000;LC_ALL=C.UTF-8;LANG=C.UTF-8;MERCHDESK_PROGRAM_DIR=${MERCHDESK_PROGRAM_DIR}")
endfunction()
