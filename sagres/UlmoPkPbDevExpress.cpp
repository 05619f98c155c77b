// The module library UlmoPkPbDevExpress: the SAGRES Web XML. It exports nothing; each of its
// units registers its classes in its own initialization when the program opens the library.
