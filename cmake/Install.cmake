# Installed layout: the program and its translation files share one private folder, because
# start-up looks for the translations beside the executable; <prefix>/bin holds a relative link
# to it. Beside that: the desktop entry, the application icon in the hicolor theme, the
# AppStream metainfo and the manual page. The paths are fixed (not GNUInstallDirs' multiarch lib folder) so the
# link stays valid whatever the prefix.
set(DOCCAM_INSTALL_APPDIR lib/document-camera)
set(DOCCAM_APP_ID com.quillmore.DocumentCamera)

if(TARGET document-camera)
  install(TARGETS document-camera RUNTIME DESTINATION ${DOCCAM_INSTALL_APPDIR})
endif()
foreach(lang IN LISTS DOCCAM_LANGUAGES)
  install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VOREN_${lang}.qm
          DESTINATION ${DOCCAM_INSTALL_APPDIR})
endforeach()

# The link is made in the build tree and installed as a link (install keeps symbolic links).
set(link_dir ${CMAKE_BINARY_DIR}/install-link)
file(MAKE_DIRECTORY ${link_dir})
file(CREATE_LINK ../${DOCCAM_INSTALL_APPDIR}/document-camera ${link_dir}/document-camera SYMBOLIC)
install(FILES ${link_dir}/document-camera DESTINATION bin)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/document-camera.desktop
        DESTINATION share/applications)
foreach(px IN LISTS DOCCAM_ICON_SIZES)
  install(FILES ${DOCCAM_ICON_PNG_DIR}/${px}x${px}/ICON_Orvanix.png
          DESTINATION share/icons/hicolor/${px}x${px}/apps RENAME document-camera.png)
endforeach()
string(TIMESTAMP DOCCAM_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${DOCCAM_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${DOCCAM_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${DOCCAM_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/document-camera.1 DESTINATION share/man/man1)

# Debian package: `cpack -G DEB` in the build tree. The shared libraries' packages come from
# dpkg-shlibdeps; the GStreamer plug-ins the graphs are built from are loaded at run time, so
# nothing links them and they are named here. libjpeg-turbo, which the program links for its
# own JPEG decoder, is named too: the decoder relies on its BGRX output, which plain libjpeg
# builds of the same soname lack. Tesseract's language files are data nothing links: English and
# the interface languages' are named.
set(CPACK_PACKAGE_NAME document-camera)
set(CPACK_PACKAGE_VENDOR Quillmore)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer for USB document cameras")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillmore <support@quillmore.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libjpeg62-turbo, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, gstreamer1.0-libav, gstreamer1.0-pulseaudio, tesseract-ocr-eng, tesseract-ocr-deu, tesseract-ocr-spa, tesseract-ocr-fra, tesseract-ocr-jpn, tesseract-ocr-rus, tesseract-ocr-chi-tra")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Viewer for USB document cameras\n Zoom, rotate, freeze, annotate and mask the live picture of a document\n camera, take snapshots, record video with sound and print.")
set(CPACK_GENERATOR DEB)
include(CPack)
