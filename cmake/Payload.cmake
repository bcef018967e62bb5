# twinsift_embed_payload(TARGET PROGRAM MODULE)
# Packs the executable of the target PROGRAM into the payload module MODULE (a generated source in the
# build tree) and compiles that into TARGET; the module is packed again whenever the executable changes.
# Every program linking TARGET keeps the payload, even one that does not unpack it yet.
function(twinsift_embed_payload target program module)
  set(packer ${TWINSIFT_HOST_TOOLS}/packer/packer)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/payloads)
  set(source ${dir}/${module}_data.cpp)
  add_custom_command(OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${packer} $<TARGET_FILE:${program}> ${source} ${module}
    DEPENDS ${program} $<TARGET_FILE:${program}> ${packer}
    COMMENT "Packing ${program} into ${module}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
  # The packed source gives the description C linkage; i686 C symbols carry a leading underscore, x86_64
  # ones none.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(symbol _twinsift_payload_${module})
  else()
    set(symbol twinsift_payload_${module})
  endif()
  target_link_options(${target} PUBLIC -Wl,--undefined=${symbol})
endfunction()
