SptCommand Method Output "not here\r\n"
