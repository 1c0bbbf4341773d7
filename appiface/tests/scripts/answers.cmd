SptCommand Method Pick
SptCommand Method Output "2\r\n"
SptCommand Method Output "ab\r\n"
SptCommand Get Pick
SptCommand Method Output "a\r\n"
SptCommand Method Nobody
SptCommand Method Output "True\r\n"
SptCommand Get Nobody
SptCommand Method Output "0\r\n"
SptCommand Get Nobody
SptCommand Let Nobody 1
