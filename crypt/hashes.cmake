# The hash framework with its five hashes, the protected-string envelope and the algorithm
# table shared by the tool.
list(APPEND crypt_sources
    ${CMAKE_CURRENT_LIST_DIR}/hash.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_algorithms.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cipher_algorithms.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QsCrypUtils.cpp
    ${CMAKE_CURRENT_LIST_DIR}/haval.cpp
    ${CMAKE_CURRENT_LIST_DIR}/md5.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sha1.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sha256.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sha512.cpp
)
