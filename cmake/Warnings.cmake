# Every target of the project links this: all warnings on (errors with SETZAIKO_WERROR, as
# ./test.sh builds), and every text literal must state its encoding.
add_library(setzaiko_warnings INTERFACE)
target_compile_options(setzaiko_warnings INTERFACE -Wall -Wextra -Wpedantic
                       $<$<BOOL:${SETZAIKO_WERROR}>:-Werror>)
target_compile_definitions(setzaiko_warnings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
