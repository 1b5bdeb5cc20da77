# One version for `--version` of both programs, the About box and the package: the project's.
configure_file(${CMAKE_CURRENT_LIST_DIR}/LoomwiseVersion.h.in ${PROJECT_BINARY_DIR}/generated/LoomwiseVersion.h
               @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)
