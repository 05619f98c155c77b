// The module library UlmoPkPb: the court registers and shared functions, the court text files
// and the e-Sfinge services. It exports nothing; each of its units registers its classes in
// its own initialization when the program opens the library.
