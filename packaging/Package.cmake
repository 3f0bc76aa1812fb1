# The Debian package, built by CPack from the install rules: cpack --config build/CPackConfig.cmake
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvax)
set(CPACK_PACKAGE_VENDOR "Trelvax")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "journal of vehicle records and registration certificates")
set(CPACK_PACKAGE_DESCRIPTION
  "Trelvax keeps a journal of vehicle records in a grid, takes one record's\n"
  "registration-certificate data in an editor and composes the certificate\n"
  "over scanned blanks, so that the text lands in the boxes of the paper form.\n"
  "The user interface is in Russian.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(TRELVAX_MAINTAINER "Trelvax developers <trelvax@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${TRELVAX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TRELVAX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The libraries the program links, Qt's included, come from dpkg-shlibdeps, never by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Russian texts on Qt's own buttons, and the faces the certificate's fonts are mapped to.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core, fonts-liberation2")
set(CPACK_STRIP_FILES ON)
# The same modes whatever the umask of whoever builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
