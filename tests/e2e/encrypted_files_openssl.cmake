# Encrypted files between Vimbrel under Wine and openssl: what the program saves encrypted,
# openssl deciphers to the saved bitmap; what openssl enciphers, the program opens.
# The key text "my secret key 2026" folds to the bytes "26key 20"; the IV is the fold of
# the built-in text.
set(des ${OPENSSL} enc -des-cbc -provider legacy -provider default -K 32366b6579203230 -iv 120418190c170a0c)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(e2e filter)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env VIMBREL_OPENSSL_EXCHANGE=${WORK} ${EMULATOR} ${E2E} --gtest_color=no
            --gtest_filter=${filter}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out MATCHES "SKIPPED \\]")
    message(FATAL_ERROR "${filter}: exit ${rc}\n${out}${err}")
  endif()
endfunction()

function(openssl)
  execute_process(COMMAND ${des} ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "openssl ${ARGN}: exit ${rc}\n${err}")
  endif()
endfunction()

e2e(EncryptedFilesTest.SaveImageEncryptedWritesWhatOpensslDeciphers)
openssl(-d -in ${WORK}/shot.bmp.vrx -out ${WORK}/shot.bmp)
file(SHA256 ${WORK}/shot.bmp got)
file(SHA256 ${WORK}/expected.bmp want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "openssl does not decipher shot.bmp.vrx to the saved bitmap")
endif()

openssl(-e -in ${WORK}/expected.bmp -out ${WORK}/photo.bmp.vrx)
e2e(EncryptedFilesTest.AFileOpensslEncipheredOpensThroughASecondStart)
file(REMOVE_RECURSE ${WORK})
