# Strong files between Vimbrel under Wine and the native vrx: what the program saves
# encrypted in each picture kind, vrx deciphers; what vrx enciphers, the program opens.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/key "my secret key 2026\n")

function(e2e filter)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env VIMBREL_VRX_EXCHANGE=${WORK} ${EMULATOR} ${E2E} --gtest_color=no
            --gtest_filter=${filter}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out MATCHES "SKIPPED \\]")
    message(FATAL_ERROR "${filter}: exit ${rc}\n${out}${err}")
  endif()
endfunction()

function(vrx)
  execute_process(COMMAND ${VRX} ${ARGN} --key-stdin INPUT_FILE ${WORK}/key
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "vrx ${ARGN}: exit ${rc}\n${out}${err}")
  endif()
endfunction()

function(expect_opening file hex what)
  file(READ ${file} head LIMIT 4 HEX)
  if(NOT head MATCHES "^${hex}")
    message(FATAL_ERROR "${file} deciphers to ${head}..., not ${what}")
  endif()
endfunction()

e2e(StrongFilesTest.SavedPicturesOfEveryKindForVrx)
foreach(kind bmp jpg png)
  vrx(decrypt ${WORK}/shot.${kind}.vrs)
endforeach()
file(SHA256 ${WORK}/shot.bmp got)
file(SHA256 ${WORK}/expected.bmp want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "vrx does not decipher shot.bmp.vrs to the saved bitmap")
endif()
expect_opening(${WORK}/shot.jpg "ffd8" "a JPEG file")
expect_opening(${WORK}/shot.png "89504e47" "a PNG file")

# And back: each picture enciphered by vrx opens in the program.
foreach(kind bmp jpg png)
  vrx(encrypt --cipher strong ${WORK}/shot.${kind} --output ${WORK}/vrx.${kind}.VRS)
endforeach()
e2e(StrongFilesTest.PicturesVrxEncipheredOpenExactly)
file(REMOVE_RECURSE ${WORK})
