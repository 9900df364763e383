# Converts a flat ODP presentation to .ppt with LibreOffice Impress, run as a build step:
#   cmake -DSOFFICE=... -DTIMEOUT_PROGRAM=... -DBASE64_PROGRAM=... -DSOURCE=x.fodp -DOUTPUT=dir/x.ppt -DWORK=dir
#         -P ConvertPresentation.cmake
# The source links its pictures (a text file in the repository stays readable that way), but a .ppt keeps a
# linked picture as a link to this machine's file, so the pictures are put into a copy of the source first.
# soffice reports a failed conversion on stderr but still exits 0, so the result is checked here. It runs with a
# profile of its own under WORK: a shared one is locked by any other soffice running as the same user (another
# build, a test reading workbooks), and the conversion would then silently do nothing.
foreach(var SOFFICE TIMEOUT_PROGRAM BASE64_PROGRAM SOURCE OUTPUT WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ConvertPresentation.cmake: ${var} is not set")
  endif()
endforeach()
set(limit 180)

get_filename_component(stem ${SOURCE} NAME)
get_filename_component(source_dir ${SOURCE} DIRECTORY)
string(REGEX REPLACE "\\.fodp$" "" stem "${stem}")
set(stage ${WORK}/out)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})

file(READ ${SOURCE} document)
string(REGEX MATCHALL "<draw:image xlink:href=\"[^\"]+\"[^>]*/>" images "${document}")
list(REMOVE_DUPLICATES images)
foreach(image ${images})
  string(REGEX REPLACE "^<draw:image xlink:href=\"([^\"]+)\".*$" "\\1" href "${image}")
  get_filename_component(picture ${source_dir}/${href} ABSOLUTE)
  execute_process(COMMAND ${BASE64_PROGRAM} -w 0 ${picture} RESULT_VARIABLE result OUTPUT_VARIABLE data
    ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR data STREQUAL "")
    message(FATAL_ERROR "${SOURCE}: cannot read the picture ${picture}: ${err}")
  endif()
  string(REPLACE "${image}" "<draw:image><office:binary-data>${data}</office:binary-data></draw:image>" document
    "${document}")
endforeach()
set(embedded ${WORK}/${stem}.fodp)
file(WRITE ${embedded} "${document}")
# timeout signals soffice's whole process group, so the soffice.bin that oosplash starts goes too.
execute_process(
  COMMAND ${TIMEOUT_PROGRAM} -k 10 ${limit}
    ${SOFFICE} -env:UserInstallation=file://${WORK}/profile --headless --norestore --nolockcheck
    --convert-to ppt --outdir ${stage} ${embedded}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
set(made ${stage}/${stem}.ppt)
if(result EQUAL 124 OR result EQUAL 137)
  message(FATAL_ERROR "LibreOffice did not convert ${SOURCE} within ${limit} s and was stopped.")
endif()
if(NOT result EQUAL 0 OR NOT EXISTS ${made})
  message(FATAL_ERROR "LibreOffice could not convert ${SOURCE} to .ppt (exit ${result}).\n${out}${err}\n"
    "The conversion needs LibreOffice Impress: apt-get install --no-install-recommends libreoffice-impress-nogui "
    "(scripts/setup.sh installs it).")
endif()
file(SIZE ${made} size)
# A .ppt is an OLE2 compound file; anything smaller than a few sectors is not a presentation.
file(READ ${made} magic LIMIT 8 HEX)
if(size LESS 4096 OR NOT magic STREQUAL "d0cf11e0a1b11ae1")
  message(FATAL_ERROR "LibreOffice wrote ${made}, but it is not a PowerPoint file (${size} bytes).")
endif()
file(COPY_FILE ${made} ${OUTPUT})
