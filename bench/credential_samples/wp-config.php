<?php
/** The name of the database for WordPress */
define( 'DB_NAME', 'wordpress' );
/** Database username */
define( 'DB_USER', 'wp_admin' );
/** Database password */
define( 'DB_PASSWORD', '2OWl^0pygv30ZJHZ' );
define( 'DB_HOST', 'localhost' );
