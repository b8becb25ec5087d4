# The release a player downloads: the DLL and the players' guide, in
# dist/Quillmark-<version>.zip. Windows build only.
if(WIN32)
    set(QM_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
    set(QM_RELEASE_ZIP ${CMAKE_SOURCE_DIR}/dist/Quillmark-${PROJECT_VERSION}.zip)
    add_custom_target(release
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${QM_RELEASE_DIR}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_RELEASE_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Quillmark> ${QM_RELEASE_DIR}/Quillmark.dll
        # Notepad on older Windows wants CR LF line ends.
        COMMAND sed -e "s/$/\\r/" ${CMAKE_SOURCE_DIR}/docs/players-guide.md
                > ${QM_RELEASE_DIR}/Quillmark-Guide.txt
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_SOURCE_DIR}/dist
        COMMAND ${CMAKE_COMMAND} -E rm -f ${QM_RELEASE_ZIP}
        COMMAND zip -q -j -X ${QM_RELEASE_ZIP}
                ${QM_RELEASE_DIR}/Quillmark.dll ${QM_RELEASE_DIR}/Quillmark-Guide.txt
        COMMAND ${CMAKE_COMMAND} -E echo "Wrote ${QM_RELEASE_ZIP}"
        DEPENDS Quillmark
        VERBATIM)
endif()
