# The cipher framework, Base64 and the ciphers.
list(APPEND crypt_sources
    ${CMAKE_CURRENT_SOURCE_DIR}/cipher.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/base64.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/blowfish.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cast128.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cast256.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/des.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/rijndael.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/rc4.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/twofish.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/idea.cpp
)
