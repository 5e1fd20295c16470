# Install rules and release packages (CPack); scripts/package makes them all into dist/.
# - Linux: a Debian package and a tar.gz with the tool, the module in its own library folder
#   (where the tool finds it), the documents, the examples and the tool's manual page.
# - Windows (the cross build): a zip with Zintara.dll, the install note, the licence and the
#   change log.
# The version is the project's, everywhere: the tool's --version, the packages, the DLL's
# version resource and the change log.

set(CPACK_PACKAGE_NAME zintara)
set(CPACK_PACKAGE_VENDOR ${ZINTARA_VENDOR})
set(CPACK_PACKAGE_CONTACT "Brennovar <support@brennovar.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.brennovar.com)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Markers from selected events: a component module for digital audio workstations")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_SOURCE_GENERATOR "")

if(WIN32)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/windows-install.txt.in
                   ${PROJECT_BINARY_DIR}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES $<TARGET_FILE:Zintara> ${PROJECT_BINARY_DIR}/INSTALL.txt
                  ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION .)
    # A name Windows opens with a text editor.
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME zintara-${PROJECT_VERSION}-windows-x64)
else()
    set(doc share/doc/zintara)
    install(TARGETS zintara-host RUNTIME DESTINATION ${ZINTARA_INSTALL_BINDIR})
    install(TARGETS Zintara LIBRARY DESTINATION ${ZINTARA_INSTALL_MODULEDIR})
    file(GLOB documents ${PROJECT_SOURCE_DIR}/docs/*.md ${PROJECT_SOURCE_DIR}/docs/*.png)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
                  ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${documents} DESTINATION ${doc})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${doc}/examples)
    if(ZINTARA_MAN_PAGE)
        install(FILES ${ZINTARA_MAN_PAGE} DESTINATION share/man/man1)
    endif()

    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_STRIP_FILES TRUE)
    set(CPACK_PACKAGE_FILE_NAME zintara-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION sound)
    # The dependencies on the system's libraries (C++ run time, expat, zlib), from the binaries.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "From the events selected in a project, the Zintara module makes
position or cycle markers on a marker track and fills their attributes from a
mapping (event name, track name, counter, free text, media metadata). With it
comes zintara-host, a reference host that loads the module as a workstation
does and runs it on a project file or on its built-in demo project.")
endif()

include(CPack)
