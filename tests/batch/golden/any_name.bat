OUTPUT: from a .bat file
