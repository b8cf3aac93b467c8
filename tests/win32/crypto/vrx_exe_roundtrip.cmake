# Runs vrx.exe the way a user would on Windows; paths are relative to WORK so that Wine
# needs no drive mapping for them.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/key "windows key 1\n")
file(WRITE ${WORK}/short "short\n")

function(vrx expected_rc input)
  execute_process(COMMAND ${EMULATOR} ${VRX} ${ARGN}
    WORKING_DIRECTORY ${WORK} INPUT_FILE ${WORK}/${input}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "vrx ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
endfunction()

string(REPEAT "The quick brown fox jumps over the lazy dog 0123456789\n" 2000 text)
foreach(size 0 1 4095 4096 4097 100000)
  string(SUBSTRING "${text}" 0 ${size} content)
  file(WRITE ${WORK}/f${size}.txt "${content}")
  vrx(0 key encrypt f${size}.txt --key-stdin)
  file(SIZE ${WORK}/f${size}.txt.VRX cipher_size)
  math(EXPR want "${size} / 8 * 8 + 8")
  if(NOT cipher_size EQUAL want)
    message(FATAL_ERROR "f${size}.txt.VRX has ${cipher_size} bytes, expected ${want}")
  endif()
  file(RENAME ${WORK}/f${size}.txt ${WORK}/f${size}.orig)
  vrx(0 key decrypt f${size}.txt.VRX --key-stdin)
  file(SHA256 ${WORK}/f${size}.orig a)
  file(SHA256 ${WORK}/f${size}.txt b)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "f${size}.txt does not decipher to the original")
  endif()
endforeach()

# An existing output is kept unless --force; a short key is refused; a key is never
# taken from the command line.
vrx(1 key decrypt f4097.txt.VRX --key-stdin)
vrx(0 key decrypt f4097.txt.VRX --key-stdin --force)
vrx(1 short encrypt f1.orig --key-stdin)
vrx(2 key encrypt f1.orig --key=windows1)
if(EXISTS ${WORK}/f1.orig.VRX)
  message(FATAL_ERROR "a refused command left f1.orig.VRX behind")
endif()

# A folder is never an output, with or without --force.
file(MAKE_DIRECTORY ${WORK}/outdir)
vrx(1 key encrypt f1.orig -o outdir --key-stdin --force)
if(NOT IS_DIRECTORY ${WORK}/outdir)
  message(FATAL_ERROR "--force replaced the folder outdir")
endif()

# A partial file left by an interrupted run is named, and only --force removes it.
file(WRITE ${WORK}/f1.orig.VRX.vrx-part "stale")
vrx(1 key encrypt f1.orig --key-stdin)
if(EXISTS ${WORK}/f1.orig.VRX OR NOT EXISTS ${WORK}/f1.orig.VRX.vrx-part)
  message(FATAL_ERROR "a stale partial file was skipped past or reused")
endif()
vrx(0 key encrypt f1.orig --key-stdin --force)
file(SIZE ${WORK}/f1.orig.VRX cipher_size)
if(NOT cipher_size EQUAL 8)
  message(FATAL_ERROR "f1.orig.VRX has ${cipher_size} bytes after --force, expected 8")
endif()

file(GLOB leftovers ${WORK}/*.vrx-part*)
if(leftovers)
  message(FATAL_ERROR "temporary files left behind: ${leftovers}")
endif()
file(REMOVE_RECURSE ${WORK})
