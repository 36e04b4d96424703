# CPack runs this between staging the install and making the package. For the
# .deb it does what Debian asks of /usr/share and `cmake --install` does not:
# manual pages compressed, and the licence and the changelog where Debian
# looks for them.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root ${CPACK_TEMPORARY_DIRECTORY}/${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${root}/${CPACK_PLOVIK_DOCDIR})

file(COPY ${CPACK_PLOVIK_DEBIAN_FILES}/copyright ${CPACK_PLOVIK_DEBIAN_FILES}/changelog
     DESTINATION ${doc})
file(GLOB pages ${root}/${CPACK_PLOVIK_MANDIR}/man*/*.[1-9])
# -n leaves the name and time out of the header, so the same input gives the
# same package.
execute_process(COMMAND gzip -9nf ${pages} ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
